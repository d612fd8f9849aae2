#include "MasterScreenTest.h"

#include "Cp932.h"
#include "FunctionKeyLabel.h"
#include "QualityEditScreen.h"
#include "QualityListScreen.h"
#include "globals.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

class QualityScreensTest : public MasterScreenTest {
protected:
    QualityListScreen *openQualities()
    {
        QualityListScreen *screen = open<QualityListScreen>();
        if (screen)
            screen->reportEngine.setRecording(true);
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
INSTANTIATE_SCREEN_TEST(QualityScreensTest);

TEST_P(QualityScreensTest, ListShowsTheFortyFiveColumnsAndTheCsvAndPrintKeys)
{
    QualityListScreen *screen = openQualities();
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
    EXPECT_EQ(screen->functionKeyLabel(8)->text(), QStringLiteral("CSV"));
    EXPECT_EQ(screen->functionKeyLabel(9)->text(), QStringLiteral("印刷"));
    EXPECT_EQ(screen->functionKeyLabel(11)->text(), QStringLiteral("新規2"));
}

TEST_P(QualityScreensTest, SavingWorksOutTheLayoutNumbersWhateverWasTyped)
{
    db().exec(QStringLiteral("Insert Into MST_EHJ(EHJ_NO) Values('110'), ('100'), ('200')"));
    QualityListScreen *screen = openQualities();
    QStringList symbols;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<QualityEditScreen *>(modal);
        ASSERT_NE(edit, nullptr);
        for (int i = 0; i < edit->symbolCombos[5]->count(); ++i)
            symbols << edit->symbolCombos[5]->itemText(i);
        edit->qualityKeyEdit->setText(QStringLiteral("Q1"));
        edit->partEdits[0]->setText(QStringLiteral("表地"));
        edit->compositionEdits[1]->setText(QStringLiteral("綿"));
        edit->ratioEdits[2]->setText(QStringLiteral("100%"));
        for (int i = 0; i < 4; ++i)
            edit->symbolCombos[i]->setEditText(QStringLiteral("100"));
        edit->symbolNoteEdits[0]->setText(QStringLiteral("陰干し"));
        edit->layout2Edit->setText(QStringLiteral("9"));
        edit->okButton->click();
    });
    key(screen, Qt::Key_F3);
    EXPECT_EQ(symbols, QStringList({QString(), QStringLiteral("100"), QStringLiteral("110"),
                                    QStringLiteral("200")}));
    EXPECT_EQ(layout(QStringLiteral("Q1")), QStringLiteral("212"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("EHJ4")), QStringLiteral("100"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("USER_NM")), QStringLiteral("tester"));

    // Only row 8: the long content layout, whatever was in the record before.
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<QualityEditScreen *>(modal);
        EXPECT_EQ(edit->layout2Edit->text(), QStringLiteral("2"));
        EXPECT_EQ(edit->symbolCombos[3]->currentText(), QStringLiteral("100"));
        EXPECT_EQ(edit->compositionEdits[1]->text(), QStringLiteral("綿"));
        edit->partEdits[0]->clear();
        edit->compositionEdits[1]->clear();
        edit->ratioEdits[2]->clear();
        for (QComboBox *combo : edit->symbolCombos)
            combo->setEditText(QString());
        edit->symbolNoteEdits[0]->clear();
        edit->compositionEdits[7]->setText(QStringLiteral("ポリエステル"));
        edit->okButton->click();
    });
    key(screen, Qt::Key_Return);
    EXPECT_EQ(layout(QStringLiteral("Q1")), QStringLiteral("121"));
    EXPECT_EQ(quality(QStringLiteral("Q1"), QStringLiteral("EHJ1")), QString());
}

TEST_P(QualityScreensTest, F9WritesOstQCsvInTheInstallationFolder)
{
    QualityListScreen *screen = openQualities();
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

TEST_P(QualityScreensTest, F10PrintsTheCardsAfterTheDatePrompt)
{
    addQuality(QStringLiteral("Q1"), QStringLiteral("2026/12/01 09:00:00"));
    addQuality(QStringLiteral("Q2"), QStringLiteral("2026/12/02 09:00:00"));
    QualityListScreen *screen = openQualities();

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
    ASSERT_EQ(screen->reportEngine.pages().size(), 1);
    EXPECT_EQ(screen->reportEngine.pages()[0].text(QStringLiteral("QUL_KEY2")),
              QStringLiteral("Q2"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened[0]).suffix(), QStringLiteral("pdf"));
    EXPECT_GT(QFileInfo(opened[0]).size(), 0);

    dialogs.clear();
    dialogs.inputs = {QStringLiteral("2026/12/02")};
    key(screen, Qt::Key_F10);
    ASSERT_EQ(screen->reportEngine.pages().size(), 1);
    EXPECT_EQ(screen->reportEngine.pages()[0].text(QStringLiteral("QUL_KEY1")),
              QStringLiteral("Q2"));
    EXPECT_EQ(screen->reportEngine.pages()[0].text(QStringLiteral("QUL_KEY2")), QString());
}
