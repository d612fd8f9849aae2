#include "AllScreens.h"

#include "BulkUpdateDialog.h"
#include "CompositionPlateScreen.h"
#include "ConfirmationScreen.h"
#include "ConfirmedOrdersScreen.h"
#include "ConversionScreen.h"
#include "ErrorListScreen.h"
#include "FactoryEditScreen.h"
#include "FactoryListScreen.h"
#include "GridScreen.h"
#include "ImportDateDialog.h"
#include "ImportDatePicker.h"
#include "ImportScreen.h"
#include "LineHistoryScreen.h"
#include "LoginScreen.h"
#include "MainMenuScreen.h"
#include "MonthlyRegisterScreen.h"
#include "NameTypeEditScreen.h"
#include "NameTypeListScreen.h"
#include "OptionsScreen.h"
#include "OrderEditScreen.h"
#include "OrderFindDialog.h"
#include "PrintScreen.h"
#include "QualityEditScreen.h"
#include "QualityListScreen.h"
#include "RecheckScreen.h"
#include "RunHistoryScreen.h"
#include "ScreenRegistry.h"
#include "Session.h"
#include "SizePlateScreen.h"
#include "SizeRowScreen.h"

#include <type_traits>

namespace {

template <class Screen> QWidget *make(Session &session)
{
    if constexpr (std::is_base_of_v<GridScreen, Screen>)
        return GridScreen::create<Screen>(session);
    else
        return new Screen(session);
}

template <class... Classes> QList<ScreenRegistry::Key> keys()
{
    return {ScreenRegistry::key<Classes>()...};
}

using Opening = ScreenRegistry::Opening;

// A command word of Menu1.txt's S entries and how it opens the row's screen.
struct Word {
    const char *word;
    Opening opening = Opening::Show;
    bool afterDatePick = false; // the day's screens: the import-date picker runs first
    const char *preload = "";
};

// One row per screen: the form name Menu1.txt's F entries use, the class (and the roles it
// plays) that the screens find it by, and the command words that open it. The form names and
// command words are the menu file's contract and never change; the classes carry today's names.
struct Row {
    const char *formName;
    ScreenRegistry::Factory make;
    QList<ScreenRegistry::Key> keys;
    QList<Word> words;
};

} // namespace

void registerAllScreens()
{
    const bool day = true;
    // clang-format off
    const QList<Row> table = {
        // The desk's own windows
        {"frmLogin",            make<LoginScreen>,            keys<LoginScreen>(),            {}},
        {"frmOption",           make<OptionsScreen>,          keys<OptionsScreen>(),          {}},
        {"frm_main",            make<MainMenuScreen>,         keys<MainMenuScreen>(),
         {{"App_Exit", Opening::Exit}}},
        {"frmImpDate",          make<ImportDateDialog>,
         keys<ImportDateDialog, ImportDatePicker>(),                                         {}},
        // 日次業務
        {"frmOrd_Imp",          make<ImportScreen>,           keys<ImportScreen>(),
         {{"FileImport"}}},
        {"frmOrd_ErrView",      make<ErrorListScreen>,        keys<ErrorListScreen>(),
         {{"ErrView", Opening::Show, day}}},
        {"frmOrd_ErrCheck",     make<RecheckScreen>,          keys<RecheckScreen>(),
         {{"ErrAction", Opening::Show, day}}},
        {"frmHan_SoseiCheck",   make<CompositionPlateScreen>, keys<CompositionPlateScreen>(),
         {{"SoseiHanCheck", Opening::Show, day}}},
        {"frmHan_SizeCheck",    make<SizePlateScreen>,        keys<SizePlateScreen>(),
         {{"SizeHanCheck", Opening::Show, day}}},
        // The find dialog is loaded first so that the edit screen's F4 finds it ready.
        {"frmOrd_Edit",         make<OrderEditScreen>,        keys<OrderEditScreen>(),
         {{"OrderEdit", Opening::Show, day, "frmOrd_Find"}}},
        {"frmOrd_Find",         make<OrderFindDialog>,        keys<OrderFindDialog>(),        {}},
        {"frmOrd_Update",       make<BulkUpdateDialog>,       keys<BulkUpdateDialog>(),       {}},
        {"frmOrd_LineHistory",  make<LineHistoryScreen>,      keys<LineHistoryScreen>(),      {}},
        {"frmOrd_Henkan",       make<ConversionScreen>,       keys<ConversionScreen>(),
         {{"OrderHenkan", Opening::Show, day}}},
        {"frmOrd_Print",        make<PrintScreen>,            keys<PrintScreen>(),
         {{"OrderList", Opening::WithMode}, {"CarList", Opening::WithMode},
          {"TotalList", Opening::WithMode}}},
        {"frmOrd_Kakutei",      make<ConfirmationScreen>,     keys<ConfirmationScreen>(),
         {{"OrderKakutei", Opening::Show, day}}},
        // マスタ保守
        {"frmMst_Car",          make<NameTypeListScreen>,     keys<NameTypeListScreen>(),
         {{"MST_CAR"}}},
        {"frmMst_CarEdit",      make<NameTypeEditScreen>,     keys<NameTypeEditScreen>(),     {}},
        {"frmMst_Qul",          make<QualityListScreen>,      keys<QualityListScreen>(),
         {{"MST_QUL"}}},
        {"frmMst_QulEdit",      make<QualityEditScreen>,      keys<QualityEditScreen>(),      {}},
        {"frmMst_Fc",           make<FactoryListScreen>,      keys<FactoryListScreen>(),
         {{"MST_FACTORY"}}},
        {"frmMst_FcEdit",       make<FactoryEditScreen>,      keys<FactoryEditScreen>(),      {}},
        {"frmMst_TarvolinSize", make<SizeRowScreen>,          keys<SizeRowScreen>(),
         {{"MST_TARVOLIN_SIZE"}}},
        // 月次・参照
        {"frmTukiSyori",        make<MonthlyRegisterScreen>,  keys<MonthlyRegisterScreen>(),
         {{"TUKI_SYORI", Opening::Modal}}},
        {"frmOrd_Sansyou",      make<ConfirmedOrdersScreen>,  keys<ConfirmedOrdersScreen>(),
         {{"OrdSansyou"}}},
        {"frmRunHistory",       make<RunHistoryScreen>,       keys<RunHistoryScreen>(),
         {{"RunHistory"}}},
    };
    // clang-format on

    ScreenRegistry &registry = ScreenRegistry::instance();
    for (const Row &row : table) {
        const QString formName = QString::fromLatin1(row.formName);
        registry.add(formName, row.make, row.keys);
        for (const Word &word : row.words)
            registry.addCommand({QString::fromLatin1(word.word), word.opening, formName,
                                 word.afterDatePick, QString::fromLatin1(word.preload)});
    }
}
