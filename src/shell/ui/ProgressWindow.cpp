#include "ProgressWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

ProgressWindow::ProgressWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral("ostera system"));
    titleLabel = new QLabel(this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    titleLabel->setFont(big);
    totalLabel = new QLabel(this);
    totalLabel->setObjectName(QStringLiteral("totalLabel"));
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));
    noteLabel->setStyleSheet(QStringLiteral("color: #a00000;"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setMinimumWidth(360);

    auto *grid = new QGridLayout(this);
    grid->addWidget(titleLabel, 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("件数:"), this), 1, 0);
    grid->addWidget(countLabel, 1, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("/"), this), 1, 2);
    grid->addWidget(totalLabel, 1, 3);
    grid->addWidget(progressBar, 2, 0, 1, 4);
    grid->addWidget(noteLabel, 3, 0, 1, 4);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

void ProgressWindow::start(const QString &title, int total)
{
    titleLabel->setText(title);
    totalLabel->setText(QString::number(total));
    countLabel->setText(QStringLiteral("0"));
    noteLabel->clear();
    progressBar->setMaximum(qMax(total, 1));
    progressBar->setValue(0);
    show();
    raise();
    pump();
}

void ProgressWindow::step(int now)
{
    countLabel->setText(QString::number(now));
    progressBar->setValue(qMin(now, progressBar->maximum()));
    pump();
}

void ProgressWindow::note(const QString &text)
{
    noteLabel->setText(text);
    if (!isVisible())
        show();
    pump();
}

void ProgressWindow::finish()
{
    hide();
}

void ProgressWindow::pump()
{
    // Enough to repaint and take clicks; the work itself keeps the thread.
    static QElapsedTimer last;
    if (last.isValid() && last.elapsed() < 30)
        return;
    last.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
