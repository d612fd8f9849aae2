#include "QualityEditScreen.h"

#include "Db.h"
#include "Dialogs.h"
#include "FormLook.h"
#include "Progress.h"
#include "QualityMaster.h"

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

QualityEditScreen::QualityEditScreen(Session &session, QWidget *parent)
    : MasterEditScreen(session, QStringLiteral("品質マスタ編集"), parent)
{
    qualityKeyEdit = textInput(QStringLiteral("QUL_KEY"), "qualityKeyEdit", 140);
    qualitySymbolEdit = textInput(QStringLiteral("QUL_NO"), "qualitySymbolEdit", 140);
    auto *head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(FormLook::caption(QStringLiteral("品質キー"), this));
    head->addWidget(qualityKeyEdit);
    head->addSpacing(16);
    head->addWidget(FormLook::caption(QStringLiteral("品質記号"), this));
    head->addWidget(qualitySymbolEdit);
    head->addSpacing(16);
    // The layout numbers follow from what is filled; they are shown, not typed.
    for (auto [edit, column, caption, name] :
         {std::tuple{&layout2Edit, "LAYOUT2", "L2", "layout2Edit"},
          std::tuple{&layout3Edit, "LAYOUT3", "L3", "layout3Edit"},
          std::tuple{&layout4Edit, "LAYOUT4", "L4", "layout4Edit"}}) {
        *edit = textInput(QLatin1String(column), name, 36);
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
    for (int i = 0; i < QualityMaster::kRows; ++i) {
        const int n = i + 1;
        partEdits[i] = textInput(QualityMaster::numbered(QStringLiteral("BUI"), n),
                                 indexedName("partEdit", i).constData(), 150);
        compositionEdits[i] = textInput(QualityMaster::numbered(QStringLiteral("SOS"), n),
                                        indexedName("compositionEdit", i).constData(), 190);
        ratioEdits[i] = textInput(QualityMaster::numbered(QStringLiteral("KON"), n),
                                  indexedName("ratioEdit", i).constData(), 70);
        ratioEdits[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        rows->addWidget(FormLook::caption(QString::number(n), this), n, 0);
        rows->addWidget(partEdits[i], n, 1);
        rows->addWidget(compositionEdits[i], n, 2);
        rows->addWidget(ratioEdits[i], n, 3);
    }

    auto *symbols = new QGroupBox(QStringLiteral("絵表示・付記"), this);
    auto *symbolGrid = new QGridLayout(symbols);
    symbolGrid->setHorizontalSpacing(8);
    symbolGrid->setVerticalSpacing(6);
    for (int i = 0; i < QualityMaster::kSymbols; ++i) {
        const int n = i + 1;
        symbolCombos[i] = comboInput(QualityMaster::numbered(QStringLiteral("EHJ"), n),
                                     indexedName("symbolCombo", i).constData(), 110);
        symbolGrid->addWidget(
            FormLook::caption(QStringLiteral("絵表示") + QString::number(n), symbols), i, 0);
        symbolGrid->addWidget(symbolCombos[i], i, 1, Qt::AlignLeft);
    }
    for (int i = 0; i < QualityMaster::kNotes; ++i) {
        const int n = i + 1;
        symbolNoteEdits[i] = textInput(QualityMaster::numbered(QStringLiteral("EFUKI"), n),
                                       indexedName("symbolNoteEdit", i).constData(), 0);
        symbolNoteEdits[i]->setMinimumWidth(320);
        symbolGrid->addWidget(
            FormLook::caption(QStringLiteral("絵付記") + QString::number(n), symbols),
            QualityMaster::kSymbols + i, 0);
        symbolGrid->addWidget(symbolNoteEdits[i], QualityMaster::kSymbols + i, 1);
    }
    symbolGrid->setRowStretch(QualityMaster::kSymbols + QualityMaster::kNotes, 1);

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

std::unique_ptr<MasterTable> QualityEditScreen::createTable(Db &db) const
{
    return std::make_unique<QualityMaster>(db, &appProgress());
}

void QualityEditScreen::fillLists(MasterTable &table)
{
    QStringList symbols;
    try {
        symbols = static_cast<QualityMaster &>(table).careSymbols();
    } catch (const DbError &error) {
        dialogs().message(error.text(), Icon::Error);
    }
    for (QComboBox *combo : symbolCombos) {
        combo->clear();
        combo->addItem(QString()); // a symbol can be taken away again
        combo->addItems(symbols);
        combo->setEditText(QString());
    }
}

void QualityEditScreen::setLayoutCodes()
{
    MasterValues values = inputValues();
    QualityMaster::setLayoutCodes(values);
    layout2Edit->setText(values.value(QStringLiteral("LAYOUT2")));
    layout3Edit->setText(values.value(QStringLiteral("LAYOUT3")));
    layout4Edit->setText(values.value(QStringLiteral("LAYOUT4")));
}
