#include "Progress.h"

namespace {
NullProgress s_null;
Progress *s_progress = &s_null;
} // namespace

Progress &appProgress()
{
    return *s_progress;
}

void setAppProgress(Progress *progress)
{
    s_progress = progress ? progress : &s_null;
}
