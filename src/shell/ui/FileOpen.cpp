#include "FileOpen.h"

#include "FileDialogs.h"

namespace {
FileOpenDialog &dialogInUse()
{
    static FileOpenDialog dialog = FileDialogs::openFile;
    return dialog;
}
} // namespace

QString fileOpenFilter(const QString &ext)
{
    return ext + QStringLiteral("ファイル (*.") + ext + QLatin1Char(')');
}

void setFileOpenDialog(FileOpenDialog dialog)
{
    dialogInUse() = dialog ? std::move(dialog) : FileOpenDialog(FileDialogs::openFile);
}

void showFileOpen(QWidget *dialogParent, QString &path, const QString &title,
                  const QString &initialName, const QString &ext)
{
    const auto chosen = dialogInUse()(dialogParent, title, initialName, fileOpenFilter(ext));
    if (chosen && !chosen->isEmpty())
        path = *chosen;
}
