#include "ScreenshotTour.h"

#include "BulkUpdateDialog.h"
#include "Camera.h"
#include "ConfirmationScreen.h"
#include "ConversionScreen.h"
#include "Db.h"
#include "GridScreen.h"
#include "GridView.h"
#include "ImportDateDialog.h"
#include "ImportScreen.h"
#include "LoginScreen.h"
#include "MainMenuScreen.h"
#include "MasterEditScreen.h"
#include "MasterListScreen.h"
#include "MonthlyRegisterScreen.h"
#include "OptionsScreen.h"
#include "OrderFindDialog.h"
#include "PagedQueryModel.h"
#include "QualityListScreen.h"
#include "ScreenRegistry.h"
#include "Session.h"
#include "ShotDialogs.h"
#include "ShotProgress.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <cstdio>

namespace {
void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

GridScreen *gridScreen(QWidget *screen)
{
    return qobject_cast<GridScreen *>(screen);
}

// A key pressed on a grid screen goes to its grid, as the operator's keys do.
void pressKey(GridScreen *screen, Qt::Key key)
{
    if (screen)
        QTest::keyClick(screen->gridView, key);
}
} // namespace

ScreenshotTour::ScreenshotTour(Camera &camera, ShotDialogs &dialogs, ShotProgress &progress,
                               Day day)
    : m_camera(camera), m_dialogs(dialogs), m_progress(progress), m_day(std::move(day))
{
}

int ScreenshotTour::run()
{
    loginAndMenu();
    monthRegister();
    importScreen();
    errorScreens();
    orderEdit();
    plateLists();
    conversion();
    printScreen();
    confirmation();
    reference();
    runHistory();
    masters();

    bool ok = m_camera.failures().isEmpty();
    for (const QString &failure : m_camera.failures())
        say(QStringLiteral("失敗: ") + failure);
    for (const QString &text : m_dialogs.pending()) {
        say(QStringLiteral("出なかったメッセージ: ") + text);
        ok = false;
    }
    for (const QString &text : m_dialogs.unexpected()) {
        say(QStringLiteral("予期しないメッセージ: ") + text);
        ok = false;
    }
    say(QStringLiteral("画像 %1 枚").arg(m_camera.saved().size()));
    return ok ? 0 : 1;
}

namespace {
// The screen of a command word is the screen table's (src/AllScreens.cpp).
QString formOf(const QString &word)
{
    const ScreenRegistry::Command *command = ScreenRegistry::instance().command(word);
    return command ? command->formName : QString();
}
} // namespace

QWidget *ScreenshotTour::openFromMenu(const QString &word, const QString &pickerPng)
{
    say(QStringLiteral("== ") + word);
    const ScreenRegistry::Command *command = ScreenRegistry::instance().command(word);
    const QString form = formOf(word);
    const bool dayBound =
        command && command->afterDatePick && !ScreenRegistry::instance().isOpen(form);
    if (dayBound) {
        m_camera.onNextModal([this, pickerPng](QWidget *dialog) {
            auto *picker = qobject_cast<ImportDateDialog *>(dialog);
            if (!picker) {
                m_camera.fail(QStringLiteral("日付選択が開きませんでした"));
                dialog->close();
                return;
            }
            if (!pickerPng.isEmpty())
                m_camera.shoot(picker, pickerPng);
            QTest::keyClick(picker->gridView, Qt::Key_Return);
        });
    }
    m_menu->loadProcedure(word);
    const QString picked = ScreenRegistry::instance().session()->importDate();
    if (dayBound && picked != m_day.impDate)
        m_camera.fail(word + QStringLiteral(": 処理日が ") + picked);
    QWidget *screen = ScreenRegistry::instance().find(form);
    if (!screen)
        m_camera.fail(word + QStringLiteral(": ") + form + QStringLiteral(" が開きません"));
    Camera::settle();
    return screen;
}

void ScreenshotTour::closeScreen(QWidget *screen)
{
    if (screen)
        screen->close();
    Camera::settle();
}

void ScreenshotTour::closeScreen(const QString &word)
{
    closeScreen(ScreenRegistry::instance().find(formOf(word)));
}

void ScreenshotTour::requireRows(GridScreen *screen, const QString &what)
{
    if (!screen || !screen->model() || screen->model()->totalRows() < 1)
        m_camera.fail(what + QStringLiteral(": 一覧が空です"));
}

QString ScreenshotTour::letterpressFactory() const
{
    const QVariantMap day{{QStringLiteral("d"), m_day.impDate}};
    return ScreenRegistry::instance()
        .session()
        ->db()
        ->scalar(QStringLiteral(
                     "Select o.FC_RG From TBL_ORDER o "
                     "Left Join MST_QULPLATE p On p.QUL_KEY = o.QUL_KEY "
                     "Left Join MST_SIZ s On s.SIZE_KEY = o.SIZE_KEY "
                     "Where o.IMP_DATE = :d "
                     "Group By o.FC_RG "
                     "Order By Sum(Case When p.QUL_KEY Is Null Or p.SU = 0 Then 1 Else 0 End) "
                     "+ Sum(Case When s.SIZE_KEY Is Null Or s.HAN_NO = '' Then 1 Else 0 End) "
                     "Desc, o.FC_RG"),
                 day)
        .toString();
}

void ScreenshotTour::loginAndMenu()
{
    say(QStringLiteral("== ログイン"));
    ScreenRegistry &screens = ScreenRegistry::instance();
    m_camera.shoot(screens.show<LoginScreen>(), QStringLiteral("login"));
    closeScreen(screens.find<LoginScreen>());
    m_camera.shoot(screens.show<OptionsScreen>(), QStringLiteral("options"));
    closeScreen(screens.find<OptionsScreen>());

    m_menu = qobject_cast<MainMenuScreen *>(screens.show<MainMenuScreen>());
    if (!m_menu) {
        m_camera.fail(QStringLiteral("メインメニューが開きません"));
        return;
    }
    m_camera.shoot(m_menu, QStringLiteral("menu-main"));
    m_menu->menu().showMenu(QStringLiteral("1"));
    m_camera.shoot(m_menu, QStringLiteral("menu-daily"));
    m_menu->menu().showMenu(QStringLiteral("2"));
    m_camera.shoot(m_menu, QStringLiteral("menu-masters"));
    m_menu->menu().showMenu(QStringLiteral("3"));
    m_camera.shoot(m_menu, QStringLiteral("menu-monthly"));
    m_menu->menu().showMenu(QStringLiteral("0"));
}

void ScreenshotTour::monthRegister()
{
    say(QStringLiteral("== TUKI_SYORI"));
    m_camera.onNextModal([this](QWidget *dialog) {
        if (auto *month = qobject_cast<MonthlyRegisterScreen *>(dialog)) {
            // The open month is the operator's usual choice: its row fills the confirm inputs.
            for (int row = 0; row < month->gridView->rowCount(); ++row) {
                const QTableWidgetItem *done = month->gridView->item(row, 2);
                if (done && done->text() == QStringLiteral("0"))
                    month->gridView->setCurrentCell(row, 0);
            }
            m_camera.shoot(month, QStringLiteral("month"));
        } else {
            m_camera.fail(QStringLiteral("月次処理設定が開きません"));
        }
        dialog->close();
    });
    m_menu->loadProcedure(QStringLiteral("TUKI_SYORI"));
}

void ScreenshotTour::importScreen()
{
    auto *import = qobject_cast<ImportScreen *>(openFromMenu("FileImport"));
    if (!import)
        return;
    import->fileEdit->setText(m_day.orderFile);
    m_camera.shoot(import, QStringLiteral("import"));

    // The day is imported already: OK shows the refusals an operator meets most.
    m_dialogs.expect(QStringLiteral("は既に読み込まれています"), false,
                     QStringLiteral("import-already"));
    m_dialogs.expect(QStringLiteral("エラー終了しました。"), false,
                     QStringLiteral("import-failed"));
    import->onOk();
    import->fileEdit->setText(m_day.orderFile + QStringLiteral(".old"));
    m_dialogs.expect(QStringLiteral("ファイルが見つかりません。"), false,
                     QStringLiteral("import-notfound"));
    m_dialogs.expect(QStringLiteral("エラー終了しました。"));
    import->onOk();
    closeScreen(QStringLiteral("FileImport"));
}

void ScreenshotTour::errorScreens()
{
    auto *errors = gridScreen(openFromMenu("ErrView", "picker"));
    requireRows(errors, QStringLiteral("エラー確認"));
    m_camera.shoot(errors, QStringLiteral("errview"));
    closeScreen(QStringLiteral("ErrView"));

    m_camera.shoot(openFromMenu("ErrAction"), QStringLiteral("errcheck"));
    closeScreen(QStringLiteral("ErrAction"));
}

void ScreenshotTour::orderEdit()
{
    auto *edit = gridScreen(openFromMenu("OrderEdit"));
    if (!edit)
        return;
    requireRows(edit, QStringLiteral("データ修正"));
    // Bring the first line with an error into view: it is drawn yellow.
    int errorRow = -1;
    for (int row = 0; row < edit->model()->totalRows() && errorRow < 0; ++row)
        if (edit->gridView->cellText(row, QStringLiteral("FLG1")) == QStringLiteral("1"))
            errorRow = row;
    if (errorRow < 0) {
        m_camera.fail(QStringLiteral("データ修正: エラー行がありません"));
    } else {
        const int column = edit->model()->columnOfField(QStringLiteral("PRINTER"));
        const QModelIndex at = edit->model()->index(qMax(0, errorRow - 3), column);
        edit->gridView->setCurrentIndex(at);
        edit->gridView->scrollTo(edit->model()->index(errorRow, column),
                                 QAbstractItemView::PositionAtCenter);
    }
    m_camera.shoot(edit, QStringLiteral("edit"));
    findAndBulkUpdate(edit);
    closeScreen(QStringLiteral("OrderEdit"));
}

void ScreenshotTour::findAndBulkUpdate(GridScreen *edit)
{
    const QString factory = letterpressFactory();
    m_camera.onNextModal([this, factory](QWidget *dialog) {
        auto *find = qobject_cast<OrderFindDialog *>(dialog);
        if (!find) {
            dialog->close();
            return;
        }
        find->factorySymbolCombo->setCurrentText(factory);
        m_camera.shoot(find, QStringLiteral("find"));
        find->okButton->click();
    });
    pressKey(edit, Qt::Key_F4);
    requireRows(edit, QStringLiteral("検索結果"));

    m_camera.onNextModal([this](QWidget *dialog) {
        auto *update = qobject_cast<BulkUpdateDialog *>(dialog);
        if (!update) {
            dialog->close();
            return;
        }
        update->printerCombo->setFocus();
        update->printerCombo->setCurrentIndex(update->printerCombo->findText("凸版1号機"));
        Camera::settle();
        update->specialCombo->setFocus(); // leaving the model's list fills its flag
        Camera::settle();
        if (update->dataKindEdit->text() != QStringLiteral("0"))
            m_camera.fail(QStringLiteral("更新: 熱転写フラグが入りません"));
        m_camera.shoot(update, QStringLiteral("update"));
        m_dialogs.expect(QStringLiteral("件更新します。"), true, QStringLiteral("update-ask"));
        m_dialogs.expect(QStringLiteral("件更新しました。"));
        update->okButton->click();
    });
    pressKey(edit, Qt::Key_F2);
    edit->gridView->setCurrentIndex(edit->model()->index(0, 2));
    m_camera.shoot(edit, QStringLiteral("edit-updated"));

    m_camera.onNextModal([this](QWidget *dialog) {
        m_camera.shoot(dialog, QStringLiteral("line-history"));
        dialog->close();
    });
    pressKey(edit, Qt::Key_F9);
}

void ScreenshotTour::plateLists()
{
    auto *sosei = gridScreen(openFromMenu("SoseiHanCheck"));
    requireRows(sosei, QStringLiteral("組成版チェック"));
    m_camera.shoot(sosei, QStringLiteral("sosei-check"));
    closeScreen(QStringLiteral("SoseiHanCheck"));

    auto *size = gridScreen(openFromMenu("SizeHanCheck"));
    requireRows(size, QStringLiteral("サイズ版チェック"));
    m_camera.shoot(size, QStringLiteral("size-check"));
    closeScreen(QStringLiteral("SizeHanCheck"));
}

void ScreenshotTour::conversion()
{
    auto *henkan = qobject_cast<ConversionScreen *>(openFromMenu("OrderHenkan", {}));
    if (!henkan)
        return;
    m_camera.shoot(henkan, QStringLiteral("henkan"));

    m_dialogs.expect(QStringLiteral("前回変換をキャンセルしますか？"), false,
                     QStringLiteral("henkan-cancel-ask"));
    henkan->cancelRunButton->click();

    m_dialogs.expect(QStringLiteral("変換しますか？"), true, QStringLiteral("henkan-ask"));
    m_dialogs.expect(QStringLiteral("件変換します。"), true, QStringLiteral("henkan-count"));
    m_dialogs.expect(QStringLiteral("※※※変換結果報告※※※"), false, QStringLiteral("henkan-report"));
    m_dialogs.expect(QStringLiteral("完了です。"));
    m_progress.shootAt(QStringLiteral("変換..."), 5, QStringLiteral("progress"));
    henkan->okButton->click();
    closeScreen(QStringLiteral("OrderHenkan"));
}

void ScreenshotTour::printScreen()
{
    say(QStringLiteral("== OrderList"));
    m_camera.onNextModal([this](QWidget *dialog) {
        m_camera.shoot(dialog, QStringLiteral("print"));
        dialog->close();
    });
    m_menu->loadProcedure(QStringLiteral("OrderList"));
    closeScreen(QStringLiteral("OrderList"));
}

void ScreenshotTour::confirmation()
{
    auto *kakutei = qobject_cast<ConfirmationScreen *>(openFromMenu("OrderKakutei"));
    if (!kakutei)
        return;
    m_camera.shoot(kakutei, QStringLiteral("kakutei"));
    if (kakutei->unconvertedEdit->text().toInt() < 1)
        m_camera.fail(QStringLiteral("確定: 未変換がありません"));
    m_dialogs.expect(QStringLiteral("確定しますか？"), true, QStringLiteral("kakutei-ask"));
    m_dialogs.expect(QStringLiteral("変換処理されていないレコードが含まれています。"), false,
                     QStringLiteral("kakutei-unconverted"));
    kakutei->okButton->click();
    closeScreen(QStringLiteral("OrderKakutei"));
}

void ScreenshotTour::reference()
{
    auto *sansyou = gridScreen(openFromMenu("OrdSansyou"));
    pressKey(sansyou, Qt::Key_F4);
    requireRows(sansyou, QStringLiteral("確定済み参照"));
    m_camera.shoot(sansyou, QStringLiteral("sansyou"));
    closeScreen(QStringLiteral("OrdSansyou"));
}

void ScreenshotTour::runHistory()
{
    auto *runs = gridScreen(openFromMenu("RunHistory"));
    requireRows(runs, QStringLiteral("実行履歴"));
    m_camera.shoot(runs, QStringLiteral("runs"));
    m_dialogs.expect(QStringLiteral("再印刷するリストの番号"), false,
                     QStringLiteral("runs-reprint"));
    pressKey(runs, Qt::Key_F4);
    closeScreen(QStringLiteral("RunHistory"));
}

void ScreenshotTour::masterPair(const QString &command, const QString &png)
{
    auto *list = qobject_cast<MasterListScreen *>(openFromMenu(command));
    if (!list)
        return;
    requireRows(list, command);
    m_camera.shoot(list, png);
    m_camera.onNextModal([this, png](QWidget *dialog) {
        m_camera.shoot(dialog, png + QStringLiteral("-edit"));
        if (auto *edit = qobject_cast<MasterEditScreen *>(dialog))
            edit->cancelButton->click();
        else
            dialog->close();
    });
    list->editRecord(0);
}

void ScreenshotTour::masters()
{
    masterPair(QStringLiteral("MST_CAR"), QStringLiteral("mst-car"));
    closeScreen(QStringLiteral("MST_CAR"));

    masterPair(QStringLiteral("MST_QUL"), QStringLiteral("mst-qul"));
    m_dialogs.expect(QStringLiteral("ostQ.csv 書き出しました。"), false,
                     QStringLiteral("mst-qul-csv"));
    pressKey(gridScreen(ScreenRegistry::instance().find<QualityListScreen>()), Qt::Key_F9);
    closeScreen(QStringLiteral("MST_QUL"));

    masterPair(QStringLiteral("MST_FACTORY"), QStringLiteral("mst-factory"));
    closeScreen(QStringLiteral("MST_FACTORY"));

    auto *size = gridScreen(openFromMenu("MST_TARVOLIN_SIZE"));
    requireRows(size, QStringLiteral("tarvolin サイズ"));
    m_camera.shoot(size, QStringLiteral("mst-size"));
    closeScreen(QStringLiteral("MST_TARVOLIN_SIZE"));
}
