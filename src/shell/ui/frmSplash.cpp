#include "frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("ostera system"));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    lblTitle->setFont(big);
    lblTotal = new QLabel(this);
    lblTotal->setObjectName(QStringLiteral("lblTotal"));
    lblNow = new QLabel(this);
    lblNow->setObjectName(QStringLiteral("lblNow"));
    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setStyleSheet(QStringLiteral("color: #a00000;"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMinimumWidth(360);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblTitle, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("件数:"), this), 1, 0);
    grid->addWidget(lblNow, 1, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("/"), this), 1, 2);
    grid->addWidget(lblTotal, 1, 3);
    grid->addWidget(ProgressBar1, 2, 0, 1, 4);
    grid->addWidget(lblNote, 3, 0, 1, 4);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

void frmSplash::start(const QString &title, int total)
{
    lblTitle->setText(title);
    lblTotal->setText(QString::number(total));
    lblNow->setText(QStringLiteral("0"));
    lblNote->clear();
    ProgressBar1->setMaximum(qMax(total, 1));
    ProgressBar1->setValue(0);
    show();
    raise();
    pump();
}

void frmSplash::step(int now)
{
    lblNow->setText(QString::number(now));
    ProgressBar1->setValue(qMin(now, ProgressBar1->maximum()));
    pump();
}

void frmSplash::note(const QString &text)
{
    lblNote->setText(text);
    if (!isVisible())
        show();
    pump();
}

void frmSplash::finish()
{
    hide();
}

void frmSplash::pump()
{
    // Enough to repaint and take clicks; the work itself keeps the thread.
    static QElapsedTimer last;
    if (last.isValid() && last.elapsed() < 30)
        return;
    last.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
