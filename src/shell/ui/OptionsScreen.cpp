#include "OptionsScreen.h"

#include "FormLook.h"

#include "IniFile.h"
#include "KeyPreview.h"
#include "Printers.h"
#include "globals.h"
#include <QLabel>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *input(const char *name, QWidget *parent, int width = 260)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(width);
    return edit;
}

QComboBox *printerList(const char *name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    // A printer that is not installed here is still shown (and kept) as the stored name.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(260);
    return combo;
}

// One captioned input per row.
QGroupBox *frame(const QString &title, const QList<QPair<QString, QWidget *>> &rows,
                 QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    grid->setColumnMinimumWidth(0, 96);
    grid->setColumnStretch(1, 1);
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(FormLook::caption(rows[i].first, box), i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    return box;
}
} // namespace

OptionsScreen::OptionsScreen(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("設定"));
    providerEdit = input("providerEdit", this);
    serverEdit = input("serverEdit", this);
    databaseEdit = input("databaseEdit", this);
    databaseUserEdit = input("databaseUserEdit", this);
    passwordEdit = input("passwordEdit", this);
    passwordEdit->setEchoMode(QLineEdit::Password);
    timeoutEdit = input("timeoutEdit", this, 80);
    listPrinterCombo = printerList("listPrinterCombo", this);
    slipPrinterCombo = printerList("slipPrinterCombo", this);
    userNameEdit = input("userNameEdit", this);
    thermalFolderEdit = input("thermalFolderEdit", this, 360);
    proofFolderEdit = input("proofFolderEdit", this, 360);
    artworkFolderEdit = input("artworkFolderEdit", this, 360);
    lotSealFolderEdit = input("lotSealFolderEdit", this, 360);
    lotSheetFolderEdit = input("lotSheetFolderEdit", this, 360);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setMinimumWidth(96);

    auto *left = new QVBoxLayout;
    left->addWidget(frame(QStringLiteral("SQL database"),
                          {{QStringLiteral("Provider"), providerEdit},
                           {QStringLiteral("ServerName"), serverEdit},
                           {QStringLiteral("DataBaseName"), databaseEdit},
                           {QStringLiteral("UserName"), databaseUserEdit},
                           {QStringLiteral("PassWord"), passwordEdit},
                           {QStringLiteral("TimeOut"), timeoutEdit}},
                          this));

    // The operator name stands on its own, without a frame, under the connection settings.
    auto *userRow = new QGridLayout;
    userRow->setContentsMargins(18, 4, 18, 0);
    userRow->setHorizontalSpacing(10);
    userRow->setColumnMinimumWidth(0, 96);
    userRow->setColumnStretch(1, 1);
    userRow->addWidget(FormLook::caption(QStringLiteral("ユーザ名"), this), 0, 0);
    userRow->addWidget(userNameEdit, 0, 1);
    left->addLayout(userRow);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(frame(
        QStringLiteral("Printer"),
        {{QStringLiteral("帳票"), listPrinterCombo}, {QStringLiteral("伝票"), slipPrinterCombo}},
        this));
    right->addWidget(frame(QStringLiteral("CsvFile保存先Folder"),
                           {{QStringLiteral("生産C"), thermalFolderEdit},
                            {QStringLiteral("確認版下"), proofFolderEdit},
                            {QStringLiteral("指示版下C"), artworkFolderEdit},
                            {QStringLiteral("Lot Seal"), lotSealFolderEdit},
                            {QStringLiteral("Lot Sheet"), lotSheetFolderEdit}},
                           this));
    right->addStretch(1);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(16);
    columns->addLayout(left);
    columns->addLayout(right);

    auto *footer = new QHBoxLayout;
    footer->addWidget(FormLook::keyHint(
        QStringLiteral("設定は次回の起動から有効になります。  Esc: 保存せずに閉じる"), this));
    footer->addStretch(1);
    footer->addWidget(okButton);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 14, 16, 14);
    body->setSpacing(12);
    body->addLayout(columns);
    body->addLayout(footer);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(FormLook::titleBand(QStringLiteral("設定"), gIniPath, this));
    outer->addLayout(body);

    // Enter and Tab follow the screen: connection, operator, printers, folders, OK.
    const QList<QWidget *> order = {providerEdit,      serverEdit,         databaseEdit,
                                    databaseUserEdit,  passwordEdit,       timeoutEdit,
                                    userNameEdit,      listPrinterCombo,   slipPrinterCombo,
                                    thermalFolderEdit, proofFolderEdit,    artworkFolderEdit,
                                    lotSealFolderEdit, lotSheetFolderEdit, okButton};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(okButton, &QPushButton::clicked, this, &OptionsScreen::onOk);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    FormLook::styleFrames(this);
    FormLook::centreOnScreen(this);
    initialise();
}

void OptionsScreen::initialise()
{
    const QStringList printers = appPrinters().choices();
    for (QComboBox *list : {listPrinterCombo, slipPrinterCombo}) {
        list->clear();
        list->addItems(printers);
    }
    showSettings();
}

void OptionsScreen::showSettings()
{
    providerEdit->setText(gProvider);
    serverEdit->setText(gServerName);
    databaseEdit->setText(gDbName);
    databaseUserEdit->setText(gDbUser);
    passwordEdit->setText(gDbPassword);
    timeoutEdit->setText(QString::number(gTimeout));
    listPrinterCombo->setCurrentText(gLPrinter);
    slipPrinterCombo->setCurrentText(gDPrinter);
    userNameEdit->setText(gUserName);
    thermalFolderEdit->setText(gCarDir);
    proofFolderEdit->setText(gKakDir);
    artworkFolderEdit->setText(gHanDir);
    lotSealFolderEdit->setText(gStkDir);
    lotSheetFolderEdit->setText(gShtDir);
}

void OptionsScreen::saveSettings()
{
    IniFile ini;
    ini.setFileName(gIniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    ini.writeString(QStringLiteral("PROVIDER"), providerEdit->text());
    ini.writeString(QStringLiteral("SERVER_NM"), serverEdit->text());
    ini.writeString(QStringLiteral("DB_NM"), databaseEdit->text());
    ini.writeString(QStringLiteral("DBUSER_NM"), databaseUserEdit->text());
    ini.writeString(QStringLiteral("PASSWORD"), passwordEdit->text());
    ini.writeString(QStringLiteral("TIMEOUT"), timeoutEdit->text());
    ini.setSection(QStringLiteral("Zenpan"));
    ini.writeString(QStringLiteral("L_PRINTER"), listPrinterCombo->currentText());
    ini.writeString(QStringLiteral("D_PRINTER"), slipPrinterCombo->currentText());
    ini.writeString(QStringLiteral("USER_NM"), userNameEdit->text());
    ini.setSection(QStringLiteral("tarvolin"));
    ini.writeString(QStringLiteral("CarDir"), thermalFolderEdit->text());
    ini.writeString(QStringLiteral("KakDir"), proofFolderEdit->text());
    ini.writeString(QStringLiteral("HanDir"), artworkFolderEdit->text());
    ini.writeString(QStringLiteral("StkDir"), lotSealFolderEdit->text());
    ini.writeString(QStringLiteral("ShtDir"), lotSheetFolderEdit->text());
}

void OptionsScreen::onOk()
{
    saveSettings();
    close();
}

bool OptionsScreen::onKey(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto *button = qobject_cast<QPushButton *>(focusWidget())) {
        button->click();
        return true;
    }
    // Enter moves on to the next field, as the operators are used to.
    focusNextChild();
    return true;
}
