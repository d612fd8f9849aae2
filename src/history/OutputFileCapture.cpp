#include "OutputFileCapture.h"

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
}

void OutputFileCapture::note(const QString &path)
{
    for (OutputFileCapture *c = t_current; c; c = c->m_outer)
        c->m_paths << path;
}
