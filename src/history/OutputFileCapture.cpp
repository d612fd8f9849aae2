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
    m_flush.reset(); // before the files go: nothing is written out for a file removed
    if (!m_kept)
        for (const QString &path : std::as_const(m_paths))
            QFile::remove(path);
}

QString OutputFileCapture::syncToDisk() const
{
    QString error;
    const bool synced =
        m_flush ? m_flush->finish(&error) : ExclusiveFiles::syncToDisk(m_paths, &error);
    m_flush.reset();
    return synced ? QString() : error;
}

void OutputFileCapture::note(const QString &path)
{
    for (OutputFileCapture *c = t_current; c; c = c->m_outer) {
        c->m_paths << path;
        if (!c->m_flush)
            c->m_flush = std::make_unique<ExclusiveFiles::BackgroundFlush>();
        c->m_flush->add(path);
    }
}
