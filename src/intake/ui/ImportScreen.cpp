#include "ImportScreen.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "FileOpen.h"
#include "FormLook.h"
#include "ImportRun.h"
#include "OpenMonth.h"
#include "OrderDataDelete.h"
#include "Progress.h"
#include "Session.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The folder of the last order file chosen, for as long as the desk runs: the next browse
// starts there instead of walking down from the installation again.
QString &lastImportFolder()
{
    static QString folder;
    return folder;
}

// Where the browse dialog opens: the last folder used, else the installation's orders/
// folder (the demo puts the day's file there), else the installation folder itself.
QString browseStartFolder(const QString &installDir)
{
    if (!lastImportFolder().isEmpty() && QFileInfo(lastImportFolder()).isDir())
        return lastImportFolder();
    if (installDir.isEmpty())
        return QString();
    const QString orders = QDir(installDir).filePath(QStringLiteral("orders"));
    return QFileInfo(orders).isDir() ? orders : installDir;
}

QLineEdit *input(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false); // Enter is handled by the screen
    return b;
}

} // namespace

ImportScreen::ImportScreen(Session &session, QWidget *parent) : QWidget(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Import"));

    auto *month = new QGroupBox(QStringLiteral("月次業務情報"), this);
    yearEdit = input("yearEdit", month);
    monthEdit = input("monthEdit", month);
    for (QLineEdit *edit : {yearEdit, monthEdit}) {
        edit->setReadOnly(true); // the open month of the monthly register
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setAlignment(Qt::AlignCenter);
    }
    yearEdit->setFixedWidth(64);
    monthEdit->setFixedWidth(44);
    auto *monthRow = new QHBoxLayout(month);
    monthRow->addWidget(yearEdit);
    monthRow->addWidget(new QLabel(QStringLiteral("年"), month));
    monthRow->addSpacing(8);
    monthRow->addWidget(monthEdit);
    monthRow->addWidget(new QLabel(QStringLiteral("月"), month));
    monthRow->addStretch(1);

    importDateEdit = input("importDateEdit", this);
    importDateEdit->setMaxLength(8);
    importDateEdit->setFixedWidth(100);
    fileEdit = input("fileEdit", this);
    fileEdit->setMinimumWidth(360);
    browseButton = button(QStringLiteral("..."), "browseButton", this);
    browseButton->setFixedWidth(32);
    okButton = button(QStringLiteral("OK"), "okButton", this);
    cancelButton = button(QStringLiteral("Cancel"), "cancelButton", this);
    deleteAllButton = button(QStringLiteral("Delete"), "deleteAllButton", this);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->addWidget(FormLook::caption(QStringLiteral("処理日"), this), 0, 0);
    fields->addWidget(importDateEdit, 0, 1, Qt::AlignLeft);
    fields->addWidget(FormLook::caption(QStringLiteral("ファイル"), this), 1, 0);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(fileEdit, 1);
    pathRow->addWidget(browseButton);
    fields->addLayout(pathRow, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(deleteAllButton);
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->setSpacing(10);
    body->addWidget(month);
    body->addLayout(fields);
    body->addWidget(FormLook::keyHint(QStringLiteral("Enter: 次の項目へ　Esc: 閉じる"), this));
    body->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("受注データ取込"), QString(), this));
    outer->addLayout(body);

    setTabOrder(importDateEdit, fileEdit);
    setTabOrder(fileEdit, browseButton);
    setTabOrder(browseButton, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, deleteAllButton);

    connect(browseButton, &QPushButton::clicked, this, &ImportScreen::onBrowse);
    connect(okButton, &QPushButton::clicked, this, &ImportScreen::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &ImportScreen::onCancel);
    connect(deleteAllButton, &QPushButton::clicked, this, &ImportScreen::onDeleteAll);
    initialise();
}

void ImportScreen::initialise()
{
    importDateEdit->setText(Clock::today().toString(QStringLiteral("yyyyMMdd")));
    std::optional<OpenMonth> month;
    bool readFailed = false;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok()) {
            readFailed = true;
        } else {
            try {
                month = OpenMonth::read(*m_session.db());
            } catch (const DbError &e) {
                appDialogs().message(e.describe(), Icon::Error);
                readFailed = true;
            }
        }
    }
    if (month) {
        yearEdit->setText(month->nen);
        monthEdit->setText(month->tuki);
    } else if (!readFailed) {
        appDialogs().message(OpenMonth::notSetMessage(), Icon::Error);
    }
    // Without an open month there is no counter to number under: only Cancel and Delete.
    m_monthOpen = month.has_value();
    okButton->setEnabled(m_monthOpen);
    fileEdit->setFocus();
}

void ImportScreen::onBrowse()
{
    // A path already typed names its own folder; otherwise the dialog starts where the order
    // files are.
    const QFileInfo typed(fileEdit->text());
    const QString start = typed.isAbsolute() && typed.absoluteDir().exists()
                              ? typed.absoluteFilePath()
                              : browseStartFolder(m_session.installDir());
    QString chosen;
    showFileOpen(this, chosen, QStringLiteral("取込ファイル"), start, QStringLiteral("txt"));
    if (chosen.isEmpty())
        return; // cancelled: the path stays as it was
    fileEdit->setText(chosen);
    lastImportFolder() = QFileInfo(chosen).absolutePath();
    // With the file chosen the next key is OK's.
    if (okButton->isEnabled())
        okButton->setFocus();
}

void ImportScreen::onOk()
{
    if (m_running || !m_monthOpen)
        return;
    setRunning(true);
    Outcome outcome = Outcome::Failed;
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (connection.ok()) {
            const ImportRequest request{fileEdit->text(), importDateEdit->text(), yearEdit->text(),
                                        monthEdit->text(), Clock::today()};
            outcome = ImportRun(*m_session.db(), appDialogs(), appProgress()).run(request);
        }
    }
    setRunning(false);
    // A failed run keeps the screen as it was, so that path or date can be corrected.
    if (outcome == Outcome::Done)
        close();
}

void ImportScreen::onCancel()
{
    close();
}

void ImportScreen::onDeleteAll()
{
    if (m_running)
        return;
    Dialogs &dialogs = appDialogs();
    if (!dialogs.ask(QStringLiteral("All Delete?"), Icon::Question, QString(), true))
        return;
    const auto password = dialogs.input(QStringLiteral("pass word?"));
    if (!password || *password != allDeletePassword()) {
        dialogs.message(QStringLiteral("No Match!"));
        return;
    }
    setRunning(true);
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (connection.ok()) {
            try {
                ProgressScope progress(appProgress());
                deleteAllOrderData(*m_session.db(), dialogs, appProgress());
            } catch (const DbError &e) {
                dialogs.message(e.describe(), Icon::Error);
            }
        }
    }
    setRunning(false);
}

void ImportScreen::setRunning(bool running)
{
    m_running = running;
    okButton->setEnabled(!running && m_monthOpen);
    cancelButton->setEnabled(!running);
    deleteAllButton->setEnabled(!running);
    browseButton->setEnabled(!running);
    importDateEdit->setReadOnly(running);
    fileEdit->setReadOnly(running);
}

void ImportScreen::keyPressEvent(QKeyEvent *event)
{
    if (m_running ||
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // On a button Enter presses it; in a field it moves on (date -> file -> OK).
        if (auto *pressed = qobject_cast<QPushButton *>(focusWidget())) {
            pressed->click();
        } else if (focusWidget() == fileEdit && okButton->isEnabled()) {
            okButton->setFocus();
        } else {
            focusNextChild();
        }
        return;
    case Qt::Key_Escape:
        onCancel();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ImportScreen::closeEvent(QCloseEvent *event)
{
    // A run in progress finishes first: its transaction and the progress form belong to it.
    if (m_running) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
