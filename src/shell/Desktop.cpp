#include "Desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<void(const QString &)> s_opener;
}

namespace Desktop {

void openFile(const QString &path)
{
    if (s_opener) {
        s_opener(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setOpener(std::function<void(const QString &)> opener)
{
    s_opener = std::move(opener);
}

} // namespace Desktop
