#include "OutputFileCapture.h"

#include "ExclusiveFiles.h"

#include <QFile>

namespace {
thread_local OutputFileCapture *t_current = nullptr;
}

OutputFileCapture::OutputFileCapture() : m_outer(t_current)
{
    t_current = this;
}

OutputFileCapture::~OutputFileCapture()
{
    t_current = m_outer;
    if (!m_kept)
        for (const QString &path : std::as_const(m_paths))
            QFile::remove(path);
}

QString OutputFileCapture::syncToDisk() const
{
    QString error;
    if (ExclusiveFiles::syncToDisk(m_paths, &error))
        return {};
    return error;
}

void OutputFileCapture::note(const QString &path)
{
    for (OutputFileCapture *c = t_current; c; c = c->m_outer)
        c->m_paths << path;
}
