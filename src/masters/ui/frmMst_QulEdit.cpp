#include "frmMst_QulEdit.h"

#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "Progress.h"
#include "QulMaster.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <tuple>

namespace {
QByteArray indexedName(const char *name, int index)
{
    return QByteArray(name) + '_' + QByteArray::number(index);
}

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #1f3a5f; font-weight: bold;"));
    return label;
}
} // namespace

frmMst_QulEdit::frmMst_QulEdit(QWidget *parent)
    : MasterEditScreen(QStringLiteral("品質マスタ編集"), parent)
{
    txtQulKey = textInput(QStringLiteral("QUL_KEY"), "txtQulKey", 140);
    txtQulNo = textInput(QStringLiteral("QUL_NO"), "txtQulNo", 140);
    auto *head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(FormLook::caption(QStringLiteral("品質キー"), this));
    head->addWidget(txtQulKey);
    head->addSpacing(16);
    head->addWidget(FormLook::caption(QStringLiteral("品質記号"), this));
    head->addWidget(txtQulNo);
    head->addSpacing(16);
    // The layout numbers follow from what is filled; they are shown, not typed.
    for (auto [edit, column, caption] :
         {std::tuple{&txtL2, "LAYOUT2", "L2"}, std::tuple{&txtL3, "LAYOUT3", "L3"},
          std::tuple{&txtL4, "LAYOUT4", "L4"}}) {
        *edit = textInput(QLatin1String(column), (QByteArray("txt") + caption).constData(), 36);
        (*edit)->setReadOnly(true);
        (*edit)->setFocusPolicy(Qt::NoFocus);
        (*edit)->setAlignment(Qt::AlignCenter);
        (*edit)->setToolTip(QStringLiteral("保存時に入力内容から設定されます。"));
        head->addWidget(FormLook::caption(QLatin1String(caption), this));
        head->addWidget(*edit);
    }
    head->addStretch(1);

    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(5);
    rows->addWidget(heading(QStringLiteral("部位"), this), 0, 1);
    rows->addWidget(heading(QStringLiteral("組成"), this), 0, 2);
    rows->addWidget(heading(QStringLiteral("混率"), this), 0, 3);
    for (int i = 0; i < QulMaster::kRows; ++i) {
        const int n = i + 1;
        txtBui[i] = textInput(QulMaster::numbered(QStringLiteral("BUI"), n),
                              indexedName("txtBui", i).constData(), 150);
        txtSos[i] = textInput(QulMaster::numbered(QStringLiteral("SOS"), n),
                              indexedName("txtSos", i).constData(), 190);
        txtKon[i] = textInput(QulMaster::numbered(QStringLiteral("KON"), n),
                              indexedName("txtKon", i).constData(), 70);
        txtKon[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rows->addWidget(FormLook::caption(QString::number(n), this), n, 0);
        rows->addWidget(txtBui[i], n, 1);
        rows->addWidget(txtSos[i], n, 2);
        rows->addWidget(txtKon[i], n, 3);
    }

    auto *symbols = new QGroupBox(QStringLiteral("絵表示・付記"), this);
    auto *symbolGrid = new QGridLayout(symbols);
    symbolGrid->setHorizontalSpacing(8);
    symbolGrid->setVerticalSpacing(6);
    for (int i = 0; i < QulMaster::kSymbols; ++i) {
        const int n = i + 1;
        cmbEhj[i] = comboInput(QulMaster::numbered(QStringLiteral("EHJ"), n),
                               indexedName("cmbEhj", i).constData(), 110);
        symbolGrid->addWidget(
            FormLook::caption(QStringLiteral("絵表示") + QString::number(n), symbols), i, 0);
        symbolGrid->addWidget(cmbEhj[i], i, 1, Qt::AlignLeft);
    }
    for (int i = 0; i < QulMaster::kNotes; ++i) {
        const int n = i + 1;
        txtEFuki[i] = textInput(QulMaster::numbered(QStringLiteral("EFUKI"), n),
                                indexedName("txtEFuki", i).constData(), 0);
        txtEFuki[i]->setMinimumWidth(320);
        symbolGrid->addWidget(
            FormLook::caption(QStringLiteral("絵付記") + QString::number(n), symbols),
            QulMaster::kSymbols + i, 0);
        symbolGrid->addWidget(txtEFuki[i], QulMaster::kSymbols + i, 1);
    }
    symbolGrid->setRowStretch(QulMaster::kSymbols + QulMaster::kNotes, 1);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(20);
    middle->addLayout(rows);
    middle->addWidget(symbols, 1);

    auto *body = new QVBoxLayout;
    body->setSpacing(12);
    body->addLayout(head);
    body->addLayout(middle);
    setBody(body);
    resize(960, sizeHint().height());
}

std::unique_ptr<MasterTable> frmMst_QulEdit::createTable(Db &db) const
{
    return std::make_unique<QulMaster>(db, &appProgress());
}

void frmMst_QulEdit::PP_ListSet(MasterTable &table)
{
    QStringList symbols;
    try {
        symbols = static_cast<QulMaster &>(table).careSymbols();
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
    for (QComboBox *combo : cmbEhj) {
        combo->clear();
        combo->addItem(QString()); // a symbol can be taken away again
        combo->addItems(symbols);
        combo->setEditText(QString());
    }
}

void frmMst_QulEdit::PP_LayoutSet()
{
    MasterValues values = inputValues();
    QulMaster::PP_LayoutSet(values);
    txtL2->setText(values.value(QStringLiteral("LAYOUT2")));
    txtL3->setText(values.value(QStringLiteral("LAYOUT3")));
    txtL4->setText(values.value(QStringLiteral("LAYOUT4")));
}
