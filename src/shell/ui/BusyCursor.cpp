#include "BusyCursor.h"

#include <QApplication>
#include <QCursor>

BusyCursor::BusyCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}

BusyCursor::Pause::Pause()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
        ++m_depth;
    }
}

BusyCursor::Pause::~Pause()
{
    for (int i = 0; i < m_depth; ++i)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
