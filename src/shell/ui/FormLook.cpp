#include "FormLook.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

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

void styleFrames(QWidget *form)
{
    form->setStyleSheet(form->styleSheet() +
                        QStringLiteral("QGroupBox { font-weight: bold; border: 1px solid #b8c4d2;"
                                       " border-radius: 4px; margin-top: 12px;"
                                       " padding: 10px 8px 6px 8px; background: #fbfcfe; }"
                                       "QGroupBox::title { subcontrol-origin: margin; left: 10px;"
                                       " padding: 0 5px; color: #1f3a5f; }"
                                       "QGroupBox * { font-weight: normal; }"));
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = QApplication::primaryScreen();
    if (QWidget *active = QApplication::activeWindow())
        screen = active->screen();
    if (!screen)
        return;
    const QSize size = window->size().expandedTo(window->sizeHint());
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace FormLook
