#include "MasterScreenTest.h"

#include "Cp932.h"
#include "FunctionKeyLabel.h"
#include "frmMst_Qul.h"
#include "frmMst_QulEdit.h"
#include "globals.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

class QulScreensTest : public MasterScreenTest {
protected:
    frmMst_Qul *openQualities()
    {
        frmMst_Qul *screen = open<frmMst_Qul>(QStringLiteral("frmMst_Qul"));
        if (screen)
            screen->CrDraw1.setRecording(true);
        return screen;
    }
    void addQuality(const QString &key,
                    const QString &stamp = QStringLiteral("2026/12/01 09:00:00"))
    {
        db().exec(QStringLiteral("Insert Into MST_QUL(QUL_KEY, QUL_NO, LAYOUT2, LAYOUT3, LAYOUT4, "
                                 "SOS1, KON1, TIME_STAMP) Values(:k, :n, '2', '1', '2', '綿', "
                                 "'100%', :t)"),
                  {{QStringLiteral("k"), key},
                   {QStringLiteral("n"), QStringLiteral("N") + key},
                   {QStringLiteral("t"), stamp}});
    }
    QString quality(const QString &key, const QString &column)
    {
        return stored(QStringLiteral("MST_QUL"), QStringLiteral("QUL_KEY"), key, column);
    }
    QString layout(const QString &key)
    {
        return quality(key, QStringLiteral("LAYOUT2")) + quality(key, QStringLiteral("LAYOUT3")) +
               quality(key, QStringLiteral("LAYOUT4"));
    }
    QString csvPath() const { return dir() + QStringLiteral("/ostQ.csv"); }
};
INSTANTIATE_ENGINES(QulScreensTest);

TEST_P(QulScreensTest, ListShowsTheFortyFiveColumnsAndTheCsvAndPrintKeys)
{
    frmMst_Qul *screen = openQualities();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("品質マスタ"));
    const QStringList captions = headers(screen);
    ASSERT_EQ(captions.size(), 45);
    EXPECT_EQ(
        captions.mid(0, 8),
        QStringList({QStringLiteral("品質キー"), QStringLiteral("品質記号"), QStringLiteral("L2"),
                     QStringLiteral("L3"), QStringLiteral("L4"), QStringLiteral("部位1"),
                     QStringLiteral("組成1"), QStringLiteral("混率1")}));
    EXPECT_EQ(captions[34], QStringLiteral("混率10"));
    EXPECT_EQ(captions[35], QStringLiteral("絵表示1"));
    EXPECT_EQ(captions[40], QStringLiteral("絵表示6"));
    EXPECT_EQ(captions[42], QStringLiteral("絵付記2"));
    EXPECT_EQ(captions[44], QStringLiteral("更新日"));
    EXPECT_EQ(screen->model()->columns()[34].field, QStringLiteral("KON10"));
    EXPECT_EQ(screen->xlabFnc(8)->text(), QStringLiteral("CSV"));
    EXPECT_EQ(screen->xlabFnc(9)->text(), QStringLiteral("印刷"));
    EXPECT_EQ(screen->xlabFnc(11)->text(), QStringLiteral("新規2"));
}

TEST_P(QulScreensTest, SavingWorksOutTheLayoutNumbersWhateverWasTyped)
{
    db().exec(QStringLiteral("Insert Into MST_EHJ(EHJ_NO) Values('110'), ('100'), ('200')"));
    frmMst_Qul *screen = openQualities();
    QStringList symbols;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<frmMst_QulEdit *>(modal);
        ASSERT_NE(edit, nullptr);
        for (int i = 0; i < edit->cmbEhj[5]->count(); ++i)
            symbols << edit->cmbEhj[5]->itemText(i);
        edit->txtQulKey->setText(QStringLiteral("Q1"));
        edit->txtBui[0]->setText(QStringLiteral("表地"));
        edit->txtSos[1]->setText(QStringLiteral("綿"));
        edit->txtKon[2]->setText(QStringLiteral("100%"));
        for (int i = 0; i < 4; ++i)
            edit->cmbEhj[i]->setEditText(QStringLiteral("100"));
        edit->txtEFuki[0]->setText(QStringLiteral("陰干し"));
        edit->txtL2->setText(QStringLiteral("9"));
        edit->cmdOk->click();
    });
    key(screen, Qt::Key_F3);
    EXPECT_EQ(symbols, QStringList({QString(), QStringLiteral("100"), QStringLiteral("110"),
                                    QStringLiteral("200")}));
    EXPECT_EQ(layout(QStringLiteral("Q1")), QStringLiteral("212"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("EHJ4")), QStringLiteral("100"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("USER_NM")), QStringLiteral("tester"));

    // Only row 8: the long content layout, whatever was in the record before.
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<frmMst_QulEdit *>(modal);
        EXPECT_EQ(edit->txtL2->text(), QStringLiteral("2"));
        EXPECT_EQ(edit->cmbEhj[3]->currentText(), QStringLiteral("100"));
        EXPECT_EQ(edit->txtSos[1]->text(), QStringLiteral("綿"));
        edit->txtBui[0]->clear();
        edit->txtSos[1]->clear();
        edit->txtKon[2]->clear();
        for (QComboBox *combo : edit->cmbEhj)
            combo->setEditText(QString());
        edit->txtEFuki[0]->clear();
        edit->txtSos[7]->setText(QStringLiteral("ポリエステル"));
        edit->cmdOk->click();
    });
    key(screen, Qt::Key_Return);
    EXPECT_EQ(layout(QStringLiteral("Q1")), QStringLiteral("121"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("EHJ1")), QString());
}

TEST_P(QulScreensTest, F9WritesOstQCsvInTheInstallationFolder)
{
    frmMst_Qul *screen = openQualities();
    key(screen, Qt::Key_F9); // nothing to write: no file, no message
    EXPECT_FALSE(QFile::exists(csvPath()));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    addQuality(QStringLiteral("Q1"));
    key(screen, Qt::Key_F9);
    ASSERT_EQ(dialogs.messages(),
              QStringList{gInstallDir + QStringLiteral("/ostQ.csv 書き出しました。")});
    EXPECT_EQ(dialogs.shown[0].icon, Icon::None);
    QFile file(csvPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = Cp932::decode(file.readAll()).value_or(QString());
    EXPECT_TRUE(text.startsWith(QStringLiteral("\"12121\",\"1\",\"\""))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 1);
    EXPECT_EQ(text.count(QLatin1Char('"')), 2 * 79);
}

TEST_P(QulScreensTest, F10PrintsTheCardsAfterTheDatePrompt)
{
    addQuality(QStringLiteral("Q1"), QStringLiteral("2026/12/01 09:00:00"));
    addQuality(QStringLiteral("Q2"), QStringLiteral("2026/12/02 09:00:00"));
    frmMst_Qul *screen = openQualities();

    dialogs.inputs = {QStringLiteral("2004/05/06")};
    key(screen, Qt::Key_F10);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("日付を指定できます。"),
                                            QStringLiteral("レコードがありません。")}));
    EXPECT_TRUE(opened.isEmpty());

    dialogs.clear();
    dialogs.inputs = {QString()};
    key(screen, Qt::Key_F10);
    EXPECT_EQ(dialogs.texts(), QStringList({QStringLiteral("日付を指定できます。"),
                                            QStringLiteral("全件印刷します。")}));
    ASSERT_EQ(screen->CrDraw1.pages().size(), 1);
    EXPECT_EQ(screen->CrDraw1.pages()[0].text(QStringLiteral("QUL_KEY2")), QStringLiteral("Q2"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened[0]).suffix(), QStringLiteral("pdf"));
    EXPECT_GT(QFileInfo(opened[0]).size(), 0);

    dialogs.clear();
    dialogs.inputs = {QStringLiteral("2026/12/02")};
    key(screen, Qt::Key_F10);
    ASSERT_EQ(screen->CrDraw1.pages().size(), 1);
    EXPECT_EQ(screen->CrDraw1.pages()[0].text(QStringLiteral("QUL_KEY1")), QStringLiteral("Q2"));
    EXPECT_EQ(screen->CrDraw1.pages()[0].text(QStringLiteral("QUL_KEY2")), QString());
}
