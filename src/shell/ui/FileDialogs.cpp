#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>

#include <memory>

namespace {

// Icons and type texts from the name and the folder entry alone (stat, never open).
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override
    {
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo &info) const override
    {
        if (info.isDir())
            return QStringLiteral("フォルダ");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix + QStringLiteral(" ファイル");
    }
};

// One for the whole process: the dialogs' models may ask it for as long as they live, and it
// holds nothing.
NameOnlyIconProvider &iconProvider()
{
    static auto *provider = new NameOnlyIconProvider;
    return *provider;
}

} // namespace

namespace FileDialogs {

QFileDialog *create(QWidget *parent, const QString &title, const QString &folder,
                    const QString &filter)
{
    // The widget dialog lists the folder once the event loop runs again: the icon provider is
    // in place before any entry is looked at.
    auto *dialog = new QFileDialog(parent, title, folder, filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog->setIconProvider(&iconProvider());
    return dialog;
}

std::optional<QString> openFile(QWidget *parent, const QString &title, const QString &initial,
                                const QString &filter)
{
    std::unique_ptr<QFileDialog> dialog(create(parent, title, initial, filter));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

std::optional<QString> folder(QWidget *parent, const QString &title, const QString &initial)
{
    std::unique_ptr<QFileDialog> dialog(create(parent, title, initial));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

} // namespace FileDialogs
