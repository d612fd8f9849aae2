#include "FunctionKeyBar.h"

#include "FunctionKeyLabel.h"

namespace {
constexpr int kBarHeight = 40;
constexpr int kMargin = 4;
constexpr int kGroupGap = 10;
} // namespace

FunctionKeyBar::FunctionKeyBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("functionKeyBar"));
    setFixedHeight(kBarHeight);
    m_line = new QFrame(this);
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);
    for (int i = 0; i < kKeys; ++i) {
        auto *label = new FunctionKeyLabel(i, this);
        connect(label, &FunctionKeyLabel::clicked, this, &FunctionKeyBar::labelClicked);
        m_labels[size_t(i)] = label;
    }
    layoutLabels();
}

void FunctionKeyBar::setKeys(const QStringList &captions)
{
    for (int i = 0; i < kKeys; ++i)
        label(i)->setKey(captions.value(i));
}

bool FunctionKeyBar::isKeyEnabled(int index) const
{
    return index >= 0 && index < kKeys && label(index)->isEnabled();
}

void FunctionKeyBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutLabels();
}

// Twelve equal labels in three groups of four, as on the keyboard.
void FunctionKeyBar::layoutLabels()
{
    m_line->setGeometry(0, 0, width(), 2);
    const int available = width() - 2 * kMargin - 2 * kGroupGap;
    const int w = qMax(1, available / kKeys);
    const int h = qMax(1, height() - 2 - 2 * kMargin);
    for (int i = 0; i < kKeys; ++i) {
        const int x = kMargin + i * w + (i / 4) * kGroupGap;
        label(i)->setGeometry(x, 2 + kMargin, qMax(1, w - 2), h);
    }
}
