#include "Desktop.h"

#include "Dialogs.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
std::function<void(const QString &)> s_opener;
}

namespace Desktop {

bool openFile(const QString &path)
{
    if (s_opener) {
        s_opener(path);
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void openOrTell(const QString &path, Dialogs &dialogs)
{
    if (openFile(path))
        return;
    const QString what =
        QFileInfo(path).isDir() ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
    dialogs.message(what + QStringLiteral("を開くプログラムが見つかりません。") +
                        QStringLiteral("\n次の場所に保存されています:\n") + path,
                    Icon::Information);
}

void setOpener(std::function<void(const QString &)> opener)
{
    s_opener = std::move(opener);
}

} // namespace Desktop
