#include "MasterScreenTest.h"

#include "FactoryEditScreen.h"
#include "FactoryListScreen.h"
#include "NameTypeEditScreen.h"
#include "NameTypeListScreen.h"
#include "QualityEditScreen.h"
#include "QualityListScreen.h"
#include "SizeRowScreen.h"

#include <QComboBox>
#include <QPushButton>

namespace {
const QString kStamp = QStringLiteral("2026/12/08 10:00:00");
} // namespace

class MasterListScreensTest : public MasterScreenTest {
protected:
    void addCar(const QString &key, const QString &name = QString())
    {
        db().exec(QStringLiteral("Insert Into MST_CAR(CAR_CD, SHO_NM1, PRICE, USER_NM, TIME_STAMP) "
                                 "Values(:k, :n, 1.5, 'old', '2020/01/01 00:00:00')"),
                  {{QStringLiteral("k"), key},
                   {QStringLiteral("n"), name.isEmpty() ? QStringLiteral("品名") + key : name}});
    }
    void addCars(int n)
    {
        for (int i = 1; i <= n; ++i)
            addCar(QStringLiteral("C%1").arg(i));
    }
    QString car(const QString &key, const QString &column)
    {
        return stored(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD"), key, column);
    }
    NameTypeListScreen *openCars() { return open<NameTypeListScreen>(); }
    // Fails the refusal of a save: the insert of a record whose BIKO2 is 'NG' is refused.
    void refuseInsertsOfNg(const QString &table)
    {
        if (isPostgreSQL()) {
            db().exec(QStringLiteral("Create Function refuse_ng() Returns trigger As $$ Begin "
                                     "Raise Exception 'NG は登録できません'; End $$ "
                                     "Language plpgsql"));
            db().exec(QStringLiteral("Create Trigger refuse_ng Before Insert On ") + table +
                      QStringLiteral(" For Each Row When (NEW.BIKO2 = 'NG') "
                                     "Execute Function refuse_ng()"));
        } else {
            db().exec(QStringLiteral("Create Trigger refuse_ng Before Insert On ") + table +
                      QStringLiteral(" When NEW.BIKO2 = 'NG' Begin "
                                     "Select Raise(Abort, 'NG は登録できません'); End"));
        }
    }
};
INSTANTIATE_ENGINES(MasterListScreensTest);

TEST_P(MasterListScreensTest, EveryMasterScreenIsRegisteredAndEditScreensAreDialogs)
{
    ScreenRegistry &registry = ScreenRegistry::instance();
    for (const char *form : {"frmMst_Car", "frmMst_CarEdit", "frmMst_Qul", "frmMst_QulEdit",
                             "frmMst_Fc", "frmMst_FcEdit", "frmMst_TarvolinSize"})
        EXPECT_TRUE(registry.has(QLatin1String(form))) << form;
    EXPECT_NE(qobject_cast<NameTypeEditScreen *>(registry.load(QStringLiteral("frmMst_CarEdit"))),
              nullptr);
    EXPECT_NE(qobject_cast<QualityEditScreen *>(registry.load(QStringLiteral("frmMst_QulEdit"))),
              nullptr);
    EXPECT_NE(qobject_cast<FactoryEditScreen *>(registry.load(QStringLiteral("frmMst_FcEdit"))),
              nullptr);
    NameTypeListScreen *cars = openCars();
    ASSERT_NE(cars, nullptr);
    EXPECT_EQ(cars->windowTitle(), QStringLiteral("ネーム資材マスタ"));
    EXPECT_EQ(headers(cars).mid(0, 3),
              QStringList({QStringLiteral("ネーム種"), QStringLiteral("オステラ資材コード"),
                           QStringLiteral("ダスメル資材コード")}));
    EXPECT_EQ(headers(cars).size(), 17);
    EXPECT_EQ(open<FactoryListScreen>()->windowTitle(), QStringLiteral("工場マスタ"));
    EXPECT_NE(open<SizeRowScreen>(), nullptr);
}

TEST_P(MasterListScreensTest, F12AndEnterOnAnEmptyListDoNothing)
{
    NameTypeListScreen *cars = openCars();
    ASSERT_NE(cars, nullptr);
    expectNoModal();
    key(cars, Qt::Key_F12);
    expectNoModal();
    key(cars, Qt::Key_Return);
    expectNoModal();
    key(cars, Qt::Key_F6);
    QApplication::processEvents();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'/').toStdString();
}

TEST_P(MasterListScreensTest, EnterEditsTheCurrentRecordAndTheListKeepsItsPlace)
{
    addCars(5);
    NameTypeListScreen *cars = openCars();
    goToRow(cars, 2, 3);
    bool checked = false;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->editMode, 1);
        EXPECT_EQ(edit->openedKeyEdit->text(), QStringLiteral("C3"));
        EXPECT_EQ(edit->nameTypeEdit->text(), QStringLiteral("C3"));
        EXPECT_EQ(edit->priceEdit->text(), QStringLiteral("1.50"));
        edit->productName1Edit->setText(QStringLiteral("新しい品名"));
        edit->okButton->click();
        checked = true;
    });
    key(cars, Qt::Key_Return);
    ASSERT_TRUE(checked);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join(u'/').toStdString();
    EXPECT_EQ(car(QStringLiteral("C3"), QStringLiteral("SHO_NM1")), QStringLiteral("新しい品名"));
    EXPECT_EQ(car(QStringLiteral("C3"), QStringLiteral("USER_NM")), QStringLiteral("tester"));
    EXPECT_EQ(car(QStringLiteral("C3"), QStringLiteral("TIME_STAMP")), kStamp);
    EXPECT_EQ(cars->gridView->currentIndex().row(), 2);
    EXPECT_EQ(cars->gridView->currentIndex().column(), 3);
    EXPECT_EQ(cars->columnText(QStringLiteral("SHO_NM1")), QStringLiteral("新しい品名"));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 5);
}

TEST_P(MasterListScreensTest, ASaveStampsTheRecordEvenWhenNothingChanged)
{
    addCars(1);
    NameTypeListScreen *cars = openCars();
    whenModal([](QWidget *modal) { qobject_cast<NameTypeEditScreen *>(modal)->okButton->click(); });
    emit cars->gridView->doubleClicked(cars->model()->index(0, 0));
    EXPECT_EQ(car(QStringLiteral("C1"), QStringLiteral("USER_NM")), QStringLiteral("tester"));
    EXPECT_EQ(car(QStringLiteral("C1"), QStringLiteral("TIME_STAMP")), kStamp);
    EXPECT_EQ(car(QStringLiteral("C1"), QStringLiteral("SHO_NM1")), QStringLiteral("品名C1"));
    EXPECT_EQ(cars->columnText(QStringLiteral("USER_NM")), QStringLiteral("tester"));
}

TEST_P(MasterListScreensTest, ANewRecordStoresEmptyNumbersAsZeroAndThePriceAsTyped)
{
    NameTypeListScreen *cars = openCars();
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        EXPECT_EQ(edit->editMode, 0);
        EXPECT_EQ(edit->openedKeyEdit->text(), QString());
        EXPECT_EQ(edit->nameTypeEdit->text(), QString());
        edit->nameTypeEdit->setText(QStringLiteral("N1"));
        edit->priceEdit->setText(QStringLiteral("12.5"));
        edit->spare1Edit->setText(QStringLiteral("7"));
        edit->productName1Edit->setText(QStringLiteral("It's"));
        edit->okButton->click();
    });
    key(cars, Qt::Key_F3);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("Select PRICE From MST_CAR")).toDouble(), 12.5);
    EXPECT_EQ(car(QStringLiteral("N1"), QStringLiteral("SPARE_SU0")), QStringLiteral("0"));
    EXPECT_EQ(car(QStringLiteral("N1"), QStringLiteral("SPARE_SU1")), QStringLiteral("7"));
    EXPECT_EQ(car(QStringLiteral("N1"), QStringLiteral("YARE_SU")), QStringLiteral("0"));
    EXPECT_EQ(car(QStringLiteral("N1"), QStringLiteral("SHO_NM1")), QStringLiteral("It's"));
    ASSERT_EQ(cars->model()->rowCount(), 1);
    EXPECT_EQ(cars->columnText(QStringLiteral("PRICE")), QStringLiteral("12.50"));

    // Opened again, the price shows with two decimals; Cancel leaves without saving.
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        EXPECT_EQ(edit->priceEdit->text(), QStringLiteral("12.50"));
        EXPECT_EQ(edit->spareBaseEdit->text(), QStringLiteral("0"));
        edit->productName1Edit->setText(QStringLiteral("変えない"));
        edit->cancelButton->click();
    });
    key(cars, Qt::Key_Return);
    EXPECT_EQ(car(QStringLiteral("N1"), QStringLiteral("SHO_NM1")), QStringLiteral("It's"));
}

TEST_P(MasterListScreensTest, ACopyUnderTheSameKeyIsRefusedAndTheInputStays)
{
    addCars(1);
    NameTypeListScreen *cars = openCars();
    // Declining the question opens nothing.
    dialogs.answers = {false};
    expectNoModal();
    key(cars, Qt::Key_F12);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("カレントレコードを初期値として新規入力しますか？"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("新規"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);

    dialogs.clear();
    dialogs.answers = {true};
    bool stayedOpen = false;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        EXPECT_EQ(edit->editMode, -1);
        EXPECT_EQ(edit->productName1Edit->text(), QStringLiteral("品名C1"));
        edit->okButton->click();
        stayedOpen = edit->isVisible() && edit->nameTypeEdit->text() == QStringLiteral("C1");
        edit->nameTypeEdit->setText(QStringLiteral("C2"));
        edit->okButton->click();
    });
    key(cars, Qt::Key_F12);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(dialogs.shown.size(), 3) << dialogs.texts().join(u'/').toStdString();
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("既に登録されています。"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("保存前チェック"));
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("保存処理はキャンセルされました。"));
    EXPECT_EQ(dialogs.shown[2].title, QStringLiteral("保存中止"));
    EXPECT_EQ(car(QStringLiteral("C2"), QStringLiteral("SHO_NM1")), QStringLiteral("品名C1"));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 2);
}

TEST_P(MasterListScreensTest, ChangingTheKeyMovesTheRecordButNotOntoAKeyInUse)
{
    addCars(2);
    NameTypeListScreen *cars = openCars();
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        edit->nameTypeEdit->setText(QStringLiteral("C2"));
        edit->okButton->click(); // refused: C2 is in use
        edit->nameTypeEdit->setText(QStringLiteral("C7"));
        edit->okButton->click();
    });
    key(cars, Qt::Key_Return);
    EXPECT_EQ(dialogs.messages().first(), QStringLiteral("既に登録されています。"));
    EXPECT_EQ(count(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD = 'C1'")), 0);
    EXPECT_EQ(count(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD = 'C7'")), 1);
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 2);
    EXPECT_EQ(columnTexts(cars, 0), QStringList({QStringLiteral("C2"), QStringLiteral("C7")}));
}

TEST_P(MasterListScreensTest, AFailedSaveIsRolledBackReportedAndTheScreenStaysOpen)
{
    addCars(1);
    refuseInsertsOfNg(QStringLiteral("MST_CAR"));
    NameTypeListScreen *cars = openCars();
    bool stayedOpen = false;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        edit->nameTypeEdit->setText(QStringLiteral("C8"));
        edit->note2Edit->setText(QStringLiteral("NG"));
        edit->okButton->click();
        stayedOpen = edit->isVisible() && edit->nameTypeEdit->text() == QStringLiteral("C8") &&
                     edit->note2Edit->text() == QStringLiteral("NG") &&
                     edit->savedByEdit->text() == QStringLiteral("old");
        edit->cancelButton->click();
    });
    key(cars, Qt::Key_Return);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("NG は登録できません")))
        << dialogs.shown[0].text.toStdString();
    // The delete of the old key went back with the failed insert.
    EXPECT_EQ(car(QStringLiteral("C1"), QStringLiteral("SHO_NM1")), QStringLiteral("品名C1"));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 1);
    EXPECT_EQ(db().transactionDepth(), 0);
}

TEST_P(MasterListScreensTest, F1AndF2OfTheEditScreenAskFirst)
{
    addCars(1);
    NameTypeListScreen *cars = openCars();
    dialogs.answers = {false, true, true};
    bool stayedAfterNo = false;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<NameTypeEditScreen *>(modal);
        QTest::keyClick(edit->productName1Edit, Qt::Key_F1); // No
        stayedAfterNo = edit->isVisible();
        edit->productName1Edit->setText(QStringLiteral("F2で保存"));
        QTest::keyClick(edit->productName1Edit, Qt::Key_F2); // Yes: saves and closes
    });
    key(cars, Qt::Key_Return);
    EXPECT_TRUE(stayedAfterNo);
    EXPECT_EQ(dialogs.texts(),
              QStringList({QStringLiteral("終了しますか？"), QStringLiteral("保存しますか？")}));
    EXPECT_EQ(car(QStringLiteral("C1"), QStringLiteral("SHO_NM1")), QStringLiteral("F2で保存"));

    whenModal([](QWidget *modal) {
        QTest::keyClick(qobject_cast<NameTypeEditScreen *>(modal)->productName1Edit,
                        Qt::Key_F1); // Yes
    });
    key(cars, Qt::Key_Return);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_P(MasterListScreensTest, DeleteAsksAndRemovesTheCurrentRecord)
{
    addCars(3);
    NameTypeListScreen *cars = openCars();
    goToRow(cars, 1);
    dialogs.answers = {false};
    key(cars, Qt::Key_F6);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("削除しますか？\r\n※完全に削除されます。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("削除"));
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Error);
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("キャンセルしました。"));
    EXPECT_EQ(count(QStringLiteral("MST_CAR")), 3);

    dialogs.clear();
    dialogs.answers = {true};
    key(cars, Qt::Key_F6);
    EXPECT_EQ(dialogs.shown.size(), 1); // no message after the question
    EXPECT_EQ(count(QStringLiteral("MST_CAR"), QStringLiteral("CAR_CD = 'C2'")), 0);
    EXPECT_EQ(columnTexts(cars, 0), QStringList({QStringLiteral("C1"), QStringLiteral("C3")}));
}

TEST_P(MasterListScreensTest, ADeleteTheDatabaseRefusesIsReportedAndTheListStays)
{
    addCars(2);
    NameTypeListScreen *cars = openCars();
    db().exec(QStringLiteral("Alter Table MST_CAR Rename To MST_CAR_AWAY"));
    dialogs.answers = {true};
    key(cars, Qt::Key_F6);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("PP_Delete"));
    EXPECT_EQ(dialogs.shown[1].icon, Icon::Error);
    EXPECT_EQ(columnTexts(cars, 0), QStringList({QStringLiteral("C1"), QStringLiteral("C2")}));
    EXPECT_TRUE(cars->isVisible());
}

TEST_P(MasterListScreensTest, FactoriesShareCodesTakeAnyOriginAndKeepTheirAbbreviationUnique)
{
    db().exec(QStringLiteral("Insert Into MST_FACTORY(FC_RG, FC_CD, GENSAN) "
                             "Values('AB', 'F01', '日本製')"));
    auto *factories = open<FactoryListScreen>();
    ASSERT_NE(factories, nullptr);
    EXPECT_EQ(headers(factories).size(), 16);
    QStringList offered;
    whenModal([&](QWidget *modal) {
        auto *edit = qobject_cast<FactoryEditScreen *>(modal);
        for (int i = 0; i < edit->originCombo->count(); ++i)
            offered << edit->originCombo->itemText(i);
        edit->factorySymbolEdit->setText(QStringLiteral("AB"));
        edit->okButton->click(); // refused: AB is in use
        edit->factorySymbolEdit->setText(QStringLiteral("AC"));
        edit->factoryCodeEdit->setText(QStringLiteral("F01"));
        edit->originCombo->setEditText(QStringLiteral("ベトナム製"));
        edit->phoneEdit->setText(QStringLiteral("03-1234-5678"));
        edit->okButton->click();
    });
    key(factories, Qt::Key_F3);
    EXPECT_EQ(offered, QStringList({QStringLiteral("日本製"), QStringLiteral("中国製"),
                                    QStringLiteral("韓国製")}));
    EXPECT_EQ(dialogs.messages(),
              QStringList({QStringLiteral("既に登録されています。"),
                           QStringLiteral("保存処理はキャンセルされました。")}));
    EXPECT_EQ(count(QStringLiteral("MST_FACTORY"), QStringLiteral("FC_CD = 'F01'")), 2);
    EXPECT_EQ(stored(QStringLiteral("MST_FACTORY"), QStringLiteral("FC_RG"), QStringLiteral("AC"),
                     QStringLiteral("GENSAN")),
              QStringLiteral("ベトナム製"));
    EXPECT_EQ(columnTexts(factories, 0), QStringList({QStringLiteral("AB"), QStringLiteral("AC")}));

    // Opened on AB, the origin shows the stored text.
    goToRow(factories, 0);
    whenModal([](QWidget *modal) {
        auto *edit = qobject_cast<FactoryEditScreen *>(modal);
        EXPECT_EQ(edit->originCombo->currentText(), QStringLiteral("日本製"));
        EXPECT_EQ(edit->factoryCodeEdit->text(), QStringLiteral("F01"));
        edit->cancelButton->click();
    });
    key(factories, Qt::Key_Return);
}
