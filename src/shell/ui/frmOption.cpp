#include "frmOption.h"

#include "FormLook.h"

#include "KeyPreview.h"
#include "Printers.h"
#include "clsIniFile.h"
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

frmOption::frmOption(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("設定"));
    txtProvider = input("txtProvider", this);
    txtServerName = input("txtServerName", this);
    txtDataBaseName = input("txtDataBaseName", this);
    txtUserName = input("txtUserName", this);
    txtPass = input("txtPass", this);
    txtPass->setEchoMode(QLineEdit::Password);
    txtTimeOut = input("txtTimeOut", this, 80);
    cmbLPrn = printerList("cmbLPrn", this);
    cmbDPrn = printerList("cmbDPrn", this);
    txtUserNm = input("txtUserNm", this);
    txtDir1 = input("txtDir1", this, 360);
    txtDir2 = input("txtDir2", this, 360);
    txtDir3 = input("txtDir3", this, 360);
    txtDir4 = input("txtDir4", this, 360);
    txtDir5 = input("txtDir5", this, 360);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setMinimumWidth(96);

    auto *left = new QVBoxLayout;
    left->addWidget(frame(QStringLiteral("SQL database"),
                          {{QStringLiteral("Provider"), txtProvider},
                           {QStringLiteral("ServerName"), txtServerName},
                           {QStringLiteral("DataBaseName"), txtDataBaseName},
                           {QStringLiteral("UserName"), txtUserName},
                           {QStringLiteral("PassWord"), txtPass},
                           {QStringLiteral("TimeOut"), txtTimeOut}},
                          this));

    // The operator name stands on its own, without a frame, under the connection settings.
    auto *userRow = new QGridLayout;
    userRow->setContentsMargins(18, 4, 18, 0);
    userRow->setHorizontalSpacing(10);
    userRow->setColumnMinimumWidth(0, 96);
    userRow->setColumnStretch(1, 1);
    userRow->addWidget(FormLook::caption(QStringLiteral("ユーザ名"), this), 0, 0);
    userRow->addWidget(txtUserNm, 0, 1);
    left->addLayout(userRow);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(frame(QStringLiteral("Printer"),
                           {{QStringLiteral("帳票"), cmbLPrn}, {QStringLiteral("伝票"), cmbDPrn}},
                           this));
    right->addWidget(frame(QStringLiteral("CsvFile保存先Folder"),
                           {{QStringLiteral("生産C"), txtDir1},
                            {QStringLiteral("確認版下"), txtDir2},
                            {QStringLiteral("指示版下C"), txtDir3},
                            {QStringLiteral("Lot Seal"), txtDir4},
                            {QStringLiteral("Lot Sheet"), txtDir5}},
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
    footer->addWidget(cmdOK);

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
    const QList<QWidget *> order = {
        txtProvider, txtServerName, txtDataBaseName, txtUserName, txtPass,
        txtTimeOut,  txtUserNm,     cmbLPrn,         cmbDPrn,     txtDir1,
        txtDir2,     txtDir3,       txtDir4,         txtDir5,     cmdOK};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);
    new KeyPreview(this, [this](QKeyEvent *e) { return onKey(e); });
    FormLook::styleFrames(this);
    FormLook::centreOnScreen(this);
    Form_Load();
}

void frmOption::Form_Load()
{
    const QStringList printers = appPrinters().choices();
    for (QComboBox *list : {cmbLPrn, cmbDPrn}) {
        list->clear();
        list->addItems(printers);
    }
    PP_ShowSettings();
}

void frmOption::PP_ShowSettings()
{
    txtProvider->setText(gProvider);
    txtServerName->setText(gServerName);
    txtDataBaseName->setText(gDbName);
    txtUserName->setText(gDbUser);
    txtPass->setText(gDbPassword);
    txtTimeOut->setText(QString::number(gTimeout));
    cmbLPrn->setCurrentText(gLPrinter);
    cmbDPrn->setCurrentText(gDPrinter);
    txtUserNm->setText(gUserName);
    txtDir1->setText(gCarDir);
    txtDir2->setText(gKakDir);
    txtDir3->setText(gHanDir);
    txtDir4->setText(gStkDir);
    txtDir5->setText(gShtDir);
}

void frmOption::PP_SaveSettings()
{
    clsIniFile ini;
    ini.setFileName(gIniPath);
    ini.setSection(QStringLiteral("SQLDB"));
    ini.SetString(QStringLiteral("PROVIDER"), txtProvider->text());
    ini.SetString(QStringLiteral("SERVER_NM"), txtServerName->text());
    ini.SetString(QStringLiteral("DB_NM"), txtDataBaseName->text());
    ini.SetString(QStringLiteral("DBUSER_NM"), txtUserName->text());
    ini.SetString(QStringLiteral("PASSWORD"), txtPass->text());
    ini.SetString(QStringLiteral("TIMEOUT"), txtTimeOut->text());
    ini.setSection(QStringLiteral("Zenpan"));
    ini.SetString(QStringLiteral("L_PRINTER"), cmbLPrn->currentText());
    ini.SetString(QStringLiteral("D_PRINTER"), cmbDPrn->currentText());
    ini.SetString(QStringLiteral("USER_NM"), txtUserNm->text());
    ini.setSection(QStringLiteral("tarvolin"));
    ini.SetString(QStringLiteral("CarDir"), txtDir1->text());
    ini.SetString(QStringLiteral("KakDir"), txtDir2->text());
    ini.SetString(QStringLiteral("HanDir"), txtDir3->text());
    ini.SetString(QStringLiteral("StkDir"), txtDir4->text());
    ini.SetString(QStringLiteral("ShtDir"), txtDir5->text());
}

void frmOption::cmdOK_Click()
{
    PP_SaveSettings();
    close();
}

bool frmOption::onKey(QKeyEvent *event)
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
