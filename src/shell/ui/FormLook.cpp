#include "FormLook.h"

#include <QHBoxLayout>
#include <QLabel>

namespace FormLook {

QWidget *titleBand(const QString &title, const QString &note, QWidget *parent)
{
    auto *band = new QWidget(parent);
    band->setObjectName(QStringLiteral("titleBand"));
    band->setAttribute(Qt::WA_StyledBackground);
    band->setStyleSheet(QStringLiteral("#titleBand { background: #1f3a5f; }"
                                       "#titleBand QLabel { color: white; }"));
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(14, 8, 14, 8);
    auto *titleLabel = new QLabel(title, band);
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.35);
    big.setBold(true);
    titleLabel->setFont(big);
    row->addWidget(titleLabel);
    row->addStretch(1);
    if (!note.isEmpty()) {
        auto *noteLabel = new QLabel(note, band);
        noteLabel->setObjectName(QStringLiteral("titleNote"));
        row->addWidget(noteLabel);
    }
    return band;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *keyHint(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #5a6a7e;"));
    return label;
}

} // namespace FormLook
