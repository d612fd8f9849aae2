#include "OptionsScreen.h"

#include "BusyCursor.h"
#include "Db.h"
#include "DbConnection.h"
#include "Dialogs.h"
#include "FileDialogs.h"
#include "FormLook.h"
#include "IniFile.h"
#include "Installation.h"
#include "KeyPreview.h"
#include "Printers.h"
#include "Session.h"
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

QLineEdit *hinted(QLineEdit *edit, const QString &hint)
{
    edit->setPlaceholderText(hint);
    edit->setToolTip(hint);
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

OptionsScreen::OptionsScreen(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session)
{
    setWindowTitle(QStringLiteral("設定"));
    providerCombo = new QComboBox(this);
    providerCombo->setObjectName(QStringLiteral("providerCombo"));
    providerCombo->setMinimumWidth(260);
    providerCombo->setToolTip(
        QStringLiteral("SQLite: この端末だけ / PostgreSQL: 複数の端末で共有"));
    // The captions are the ones operators know; the hints say in Japanese what goes where.
    serverEdit =
        hinted(input("serverEdit", this),
               QStringLiteral("SQLite: データベースファイル / PostgreSQL: ホスト名:ポート"));
    databaseEdit =
        hinted(input("databaseEdit", this), QStringLiteral("データベース名（PostgreSQL）"));
    databaseUserEdit =
        hinted(input("databaseUserEdit", this), QStringLiteral("接続ユーザ名（PostgreSQL）"));
    passwordEdit = hinted(input("passwordEdit", this), QStringLiteral("パスワード（PostgreSQL）"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    timeoutEdit = hinted(input("timeoutEdit", this, 80), QStringLiteral("秒"));
    testButton = new QPushButton(QStringLiteral("接続テスト"), this);
    testButton->setObjectName(QStringLiteral("testButton"));
    listPrinterCombo = printerList("listPrinterCombo", this);
    slipPrinterCombo = printerList("slipPrinterCombo", this);
    userNameEdit = input("userNameEdit", this);
    thermalFolderEdit = hinted(input("thermalFolderEdit", this, 300),
                               QStringLiteral("生産Cの印刷データの保存先フォルダ"));
    proofFolderEdit =
        hinted(input("proofFolderEdit", this, 300), QStringLiteral("確認版下の保存先フォルダ"));
    artworkFolderEdit =
        hinted(input("artworkFolderEdit", this, 300), QStringLiteral("指示版下の保存先フォルダ"));
    lotSealFolderEdit = hinted(input("lotSealFolderEdit", this, 300),
                               QStringLiteral("ロットシール（LSTK.csv）の保存先フォルダ"));
    lotSheetFolderEdit = hinted(input("lotSheetFolderEdit", this, 300),
                                QStringLiteral("ロットシート（LSHT.csv）の保存先フォルダ"));
    const QList<QPair<QLineEdit *, QString>> folders = {
        {thermalFolderEdit, QStringLiteral("生産C")},
        {proofFolderEdit, QStringLiteral("確認版下")},
        {artworkFolderEdit, QStringLiteral("指示版下C")},
        {lotSealFolderEdit, QStringLiteral("ロットシール")},
        {lotSheetFolderEdit, QStringLiteral("ロットシート")}};
    QList<QWidget *> folderRows;
    for (const auto &[edit, name] : folders) {
        auto *button = new QPushButton(QStringLiteral("参照..."), this);
        button->setObjectName(edit->objectName() + QStringLiteral("Browse"));
        QLineEdit *target = edit;
        const QString title = name + QStringLiteral("の保存先フォルダ");
        connect(button, &QPushButton::clicked, this,
                [this, target, title] { browse(target, title); });
        browseButtons << button;
        auto *row = new QWidget(this);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(6);
        layout->addWidget(edit, 1);
        layout->addWidget(button);
        folderRows << row;
    }
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setMinimumWidth(96);

    auto *left = new QVBoxLayout;
    left->addWidget(frame(QStringLiteral("SQL database"),
                          {{QStringLiteral("Provider"), providerCombo},
                           {QStringLiteral("ServerName"), serverEdit},
                           {QStringLiteral("DataBaseName"), databaseEdit},
                           {QStringLiteral("UserName"), databaseUserEdit},
                           {QStringLiteral("PassWord"), passwordEdit},
                           {QStringLiteral("TimeOut"), timeoutEdit}},
                          this));
    auto *testRow = new QHBoxLayout;
    testRow->addStretch(1);
    testRow->addWidget(testButton);
    left->addLayout(testRow);

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
                           {{QStringLiteral("生産C"), folderRows[0]},
                            {QStringLiteral("確認版下"), folderRows[1]},
                            {QStringLiteral("指示版下C"), folderRows[2]},
                            {QStringLiteral("Lot Seal"), folderRows[3]},
                            {QStringLiteral("Lot Sheet"), folderRows[4]}},
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
    outer->addWidget(FormLook::titleBand(QStringLiteral("設定"), m_session.iniPath(), this));
    outer->addLayout(body);

    // Enter and Tab follow the screen: connection, operator, printers, folders, OK.
    const QList<QWidget *> order = {
        providerCombo,     serverEdit,        databaseEdit,       databaseUserEdit,
        passwordEdit,      timeoutEdit,       testButton,         userNameEdit,
        listPrinterCombo,  slipPrinterCombo,  thermalFolderEdit,  proofFolderEdit,
        artworkFolderEdit, lotSealFolderEdit, lotSheetFolderEdit, okButton};
    // The browse buttons are for the mouse; Enter and Tab go from folder to folder.
    for (QPushButton *button : std::as_const(browseButtons))
        button->setFocusPolicy(Qt::ClickFocus);
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(okButton, &QPushButton::clicked, this, &OptionsScreen::onOk);
    connect(testButton, &QPushButton::clicked, this, &OptionsScreen::onTest);
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
    // The two engines the desk knows; a value it does not know (or none yet) is shown and
    // written back as it stands.
    providerCombo->clear();
    providerCombo->addItems({QStringLiteral("SQLite"), QStringLiteral("PostgreSQL")});
    if (providerCombo->findText(gProvider) < 0)
        providerCombo->insertItem(0, gProvider);
    providerCombo->setCurrentIndex(providerCombo->findText(gProvider));
    serverEdit->setText(gServerName);
    databaseEdit->setText(gDbName);
    databaseUserEdit->setText(gDbUser);
    passwordEdit->setText(gDbPassword);
    timeoutEdit->setText(QString::number(gTimeout));
    listPrinterCombo->setCurrentText(m_session.listPrinter());
    slipPrinterCombo->setCurrentText(m_session.dailyPrinter());
    userNameEdit->setText(m_session.userName());
    const OutputFolders &folders = m_session.folderSettings();
    thermalFolderEdit->setText(folders.car);
    proofFolderEdit->setText(folders.kak);
    artworkFolderEdit->setText(folders.han);
    lotSealFolderEdit->setText(folders.stk);
    lotSheetFolderEdit->setText(folders.sht);
}

void OptionsScreen::saveSettings()
{
    IniFile ini;
    ini.setFileName(m_session.iniPath());
    ini.setSection(QStringLiteral("SQLDB"));
    ini.writeString(QStringLiteral("PROVIDER"), providerCombo->currentText());
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

void OptionsScreen::onTest()
{
    ConnectionSettings settings;
    settings.provider = providerCombo->currentText();
    settings.server = serverEdit->text();
    settings.database = databaseEdit->text();
    settings.user = databaseUserEdit->text();
    settings.password = passwordEdit->text();
    const int timeout = timeoutEdit->text().toInt();
    settings.timeout = timeout > 0 ? timeout : 20; // start-up's rule for the stored value
    settings.schema = gDbSchema;
    settings.baseDir = m_session.installDir();
    ConnectionCheck check;
    {
        BusyCursor busy;
        check = checkConnection(settings);
    }
    appDialogs().message(check.text, check.ok ? Icon::Information : Icon::Error,
                         QStringLiteral("接続テスト"));
}

void OptionsScreen::browse(QLineEdit *folderEdit, const QString &title)
{
    const QString current = Installation::folderPath(folderEdit->text());
    const auto chosen = FileDialogs::folder(this, title, current);
    if (chosen)
        folderEdit->setText(*chosen);
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
