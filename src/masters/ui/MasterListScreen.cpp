#include "MasterListScreen.h"

#include "Db.h"
#include "Dialogs.h"
#include "GridView.h"
#include "MasterEditScreen.h"
#include "MasterListModel.h"
#include "MasterTable.h"
#include "ScreenRegistry.h"
#include "Session.h"

#include <QPointer>

MasterListScreen::MasterListScreen(Session &session, const QString &title,
                                   ScreenRegistry::Key editScreen, QWidget *parent)
    : GridScreen(session, parent), m_editScreen(editScreen)
{
    setWindowTitle(title);
    setFormSizeTwips(13500, 10000);
}

QStringList MasterListScreen::functionKeyCaptions() const
{
    return {QStringLiteral("終了"),
            QString(),
            QStringLiteral("新規"),
            QString(),
            QString(),
            QStringLiteral("削除"),
            QString(),
            QStringLiteral("EXCEL"),
            QString(),
            QString(),
            QString(),
            QStringLiteral("新規2")};
}

void MasterListScreen::onFunctionKey(int key)
{
    switch (key) {
    case 3:
        newRecord();
        break;
    case 6:
        deleteRecord();
        break;
    case 8:
        excelOut();
        break;
    case 12:
        editRecord(1);
        break;
    default:
        GridScreen::onFunctionKey(key);
    }
}

bool MasterListScreen::onGridEnter()
{
    editRecord(0);
    return true;
}

void MasterListScreen::onGridDoubleClick()
{
    editRecord(0);
}

PagedQueryModel *MasterListScreen::createModel()
{
    // The key is the list's first column on every master.
    return new MasterListModel(
        gridColumns().first().field,
        [this](const QString &key) {
            if (!m_session.db())
                throw DbError(QStringLiteral("データベースに接続されていません。"),
                              QStringLiteral("3704"));
            createTable(*m_session.db())->remove(key);
        },
        this);
}

void MasterListScreen::newRecord()
{
    openEditScreen(ModeNew, QString());
}

void MasterListScreen::editRecord(int mode)
{
    const QString key = columnText(0);
    if (key.isEmpty())
        return; // no current record
    if (mode == 0) {
        openEditScreen(ModeEdit, key);
        return;
    }
    if (dialogs().ask(QStringLiteral("カレントレコードを初期値として新規入力しますか？"),
                      Icon::Question, QStringLiteral("新規")))
        openEditScreen(ModeCopy, key);
}

void MasterListScreen::deleteRecord()
{
    const int row = gridView->currentRowIndex();
    if (row < 0)
        return; // nothing to delete
    if (!dialogs().ask(QStringLiteral("削除しますか？\r\n※完全に削除されます。"), Icon::Error,
                       QStringLiteral("削除"), true)) {
        dialogs().message(QStringLiteral("キャンセルしました。"));
        return;
    }
    try {
        model()->deleteRow(row);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error, QStringLiteral("PP_Delete"));
    }
}

void MasterListScreen::openEditScreen(int mode, const QString &key)
{
    QPointer<MasterEditScreen> edit = qobject_cast<MasterEditScreen *>(
        ScreenRegistry::instance().load(ScreenRegistry::instance().formName(m_editScreen)));
    if (!edit)
        return;
    edit->setParent(this, edit->windowFlags() | Qt::Dialog); // modal over its list
    // The edit screen goes as soon as it has been answered, so the next one starts afresh.
    edit->setAttribute(Qt::WA_DeleteOnClose, false);
    const bool saved = edit->openModal(mode, key);
    delete edit.data();
    if (saved)
        refillKeepingPosition();
}
