#include "ShowFileOpen.h"

#include <QFileDialog>

namespace {
std::optional<QString> realDialog(QWidget *parent, const QString &title, const QString &initialName,
                                  const QString &filter)
{
    const QString chosen = QFileDialog::getOpenFileName(parent, title, initialName, filter);
    if (chosen.isNull())
        return std::nullopt;
    return chosen;
}

FileOpenDialog &dialogInUse()
{
    static FileOpenDialog dialog = realDialog;
    return dialog;
}
} // namespace

QString fileOpenFilter(const QString &ext)
{
    return ext + QStringLiteral("ﾌｧｲﾙ (*.") + ext + QLatin1Char(')');
}

void setFileOpenDialog(FileOpenDialog dialog)
{
    dialogInUse() = dialog ? std::move(dialog) : FileOpenDialog(realDialog);
}

void ShowFileOpen(QWidget *dialogParent, QString &path, const QString &title,
                  const QString &initialName, const QString &ext)
{
    const auto chosen = dialogInUse()(dialogParent, title, initialName, fileOpenFilter(ext));
    if (chosen && !chosen->isEmpty())
        path = *chosen;
}
