#include "MasterEditScreen.h"

#include "BusyCursor.h"
#include "Clock.h"
#include "ConnectionScope.h"
#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "KeyPreview.h"
#include "Session.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kCheckTitle = QStringLiteral("保存前チェック");

QPushButton *button(const QString &text, const char *objectName, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setMinimumWidth(96);
    b->setAutoDefault(false); // Enter in an input moves on; it never saves by accident
    return b;
}

QLineEdit *stampInput(const char *objectName, int width, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setFixedWidth(width);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: #eef1f5; color: #44546a; }"));
    return edit;
}
} // namespace

MasterEditScreen::MasterEditScreen(Session &session, const QString &title, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setWindowTitle(title);
    setModal(true);
    openedKeyEdit = new QLineEdit(this);
    openedKeyEdit->setObjectName(QStringLiteral("openedKeyEdit"));
    openedKeyEdit->hide();
    savedByEdit = stampInput("savedByEdit", 120, this);
    savedAtEdit = stampInput("savedAtEdit", 160, this);
    m_inputs << qMakePair(QStringLiteral("USER_NM"), static_cast<QWidget *>(savedByEdit))
             << qMakePair(QStringLiteral("TIME_STAMP"), static_cast<QWidget *>(savedAtEdit));
    okButton = button(QStringLiteral("OK"), "okButton", this);
    cancelButton = button(QStringLiteral("Cancel"), "cancelButton", this);
    connect(okButton, &QPushButton::clicked, this, &MasterEditScreen::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &MasterEditScreen::onCancel);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
}

void MasterEditScreen::setBody(QLayout *body)
{
    auto *stamps = new QHBoxLayout;
    stamps->setSpacing(6);
    stamps->addWidget(FormLook::caption(QStringLiteral("ユーザ"), this));
    stamps->addWidget(savedByEdit);
    stamps->addSpacing(12);
    stamps->addWidget(FormLook::caption(QStringLiteral("更新日"), this));
    stamps->addWidget(savedAtEdit);
    stamps->addStretch(1);
    stamps->addWidget(okButton);
    stamps->addWidget(cancelButton);

    auto *content = new QVBoxLayout;
    content->setContentsMargins(16, 12, 16, 14);
    content->setSpacing(12);
    content->addLayout(body);
    content->addStretch(1);
    content->addLayout(stamps);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(windowTitle(), QStringLiteral("F1 終了　F2 保存"), this));
    outer->addLayout(content, 1);
    FormLook::styleFrames(this);
}

QLineEdit *MasterEditScreen::textInput(const QString &column, const char *objectName, int width)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    if (width > 0)
        edit->setFixedWidth(width);
    bind(column, edit);
    return edit;
}

QComboBox *MasterEditScreen::comboInput(const QString &column, const char *objectName, int width)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setEditable(true); // a value outside the list may be typed
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (width > 0)
        combo->setFixedWidth(width);
    bind(column, combo);
    return combo;
}

void MasterEditScreen::bind(const QString &column, QWidget *input)
{
    m_inputs << qMakePair(column, input);
    if (!m_firstInput)
        m_firstInput = input;
}

Dialogs &MasterEditScreen::dialogs() const
{
    return appDialogs();
}

bool MasterEditScreen::openModal(int mode, const QString &key)
{
    editMode = mode;
    openedKeyEdit->setText(mode == ModeNew ? QString() : key);
    {
        BusyCursor busy;
        ConnectionScope connection(m_session);
        if (!connection.ok())
            return false; // dbOpen has told the operator; there is nothing to edit
        std::unique_ptr<MasterTable> table = createTable(*m_session.db());
        m_keyColumn = table->keyColumn();
        fillLists(*table);
        showRecord(*table);
    }
    // The inputs follow in the order they were made; the first one has the focus.
    if (m_firstInput)
        m_firstInput->setFocus();
    FormLook::centreOnScreen(this);
    return exec() == QDialog::Accepted;
}

void MasterEditScreen::showRecord(MasterTable &table)
{
    if (openedKeyEdit->text().isEmpty())
        return; // a new record starts from empty inputs
    try {
        showValues(table.load(openedKeyEdit->text()));
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
}

void MasterEditScreen::showValues(const MasterValues &values)
{
    for (const auto &[column, widget] : std::as_const(m_inputs)) {
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setText(values.value(column));
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            combo->setEditText(values.value(column));
    }
}

MasterValues MasterEditScreen::inputValues() const
{
    MasterValues values;
    for (const auto &[column, widget] : std::as_const(m_inputs)) {
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            values.insert(column, edit->text());
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            values.insert(column, combo->currentText());
    }
    return values;
}

QString MasterEditScreen::keyText() const
{
    return inputValues().value(m_keyColumn);
}

void MasterEditScreen::onCancel()
{
    reject();
}

void MasterEditScreen::onOk()
{
    ConnectionScope connection(m_session);
    if (!connection.ok())
        return;
    std::unique_ptr<MasterTable> table = createTable(*m_session.db());
    m_keyColumn = table->keyColumn();
    if (checkBeforeSave(*table)) {
        dialogs().message(QStringLiteral("保存処理はキャンセルされました。"), Icon::Error,
                          QStringLiteral("保存中止"));
        return;
    }
    beforeStamp();
    if (save(*table))
        accept();
}

bool MasterEditScreen::checkBeforeSave(MasterTable &table)
{
    try {
        const QString refusal = table.saveRefusal(editMode, keyText(), openedKeyEdit->text());
        if (refusal.isEmpty())
            return false;
        dialogs().message(refusal, Icon::Error, kCheckTitle);
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error, QStringLiteral("PF_SaveCheck 管理者へ"));
    }
    return true;
}

// Stamps and writes the record. A failure is rolled back and reported; the screen stays
// open with the operator's input and the stamps it showed before.
bool MasterEditScreen::save(MasterTable &table)
{
    const QString previousUser = savedByEdit->text();
    const QString previousStamp = savedAtEdit->text();
    savedByEdit->setText(m_session.userName());
    savedAtEdit->setText(Clock::stamp());
    try {
        BusyCursor busy;
        table.save(editMode, openedKeyEdit->text(), inputValues());
        return true;
    } catch (const DbError &error) {
        savedByEdit->setText(previousUser);
        savedAtEdit->setText(previousStamp);
        dialogs().message(error.text(), Icon::Error);
        return false;
    }
}

bool MasterEditScreen::onKey(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                              Qt::AltModifier | Qt::MetaModifier)) == 0;
    if (!plain)
        return false;
    switch (event->key()) {
    case Qt::Key_F1:
        if (dialogs().ask(QStringLiteral("終了しますか？"), Icon::Question))
            reject();
        return true;
    case Qt::Key_F2:
        if (dialogs().ask(QStringLiteral("保存しますか？"), Icon::Question))
            onOk();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter moves to the next input, as on every input screen of the desk.
        if (qobject_cast<QLineEdit *>(focusWidget()) || qobject_cast<QComboBox *>(focusWidget())) {
            focusNextChild();
            return true;
        }
        return false;
    default:
        return false;
    }
}
