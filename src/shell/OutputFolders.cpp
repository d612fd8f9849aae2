#include "OutputFolders.h"

#include "Installation.h"

#include <QStringList>

#include <utility>

OutputFolders OutputFolders::resolved() const
{
    return {Installation::folderPath(car), Installation::folderPath(han),
            Installation::folderPath(stk), Installation::folderPath(sht),
            Installation::folderPath(kak)};
}

QString OutputFolders::unsetRefusal() const
{
    // The login screen's words for the folder, with the INI key to set.
    const std::pair<const QString *, const char *> folders[] = {
        {&car, "生産Cパスが未設定です。（CarDir）"},
        {&han, "指示版下パスが未設定です。（HanDir）"},
        {&stk, "ロットシールパスが未設定です。（StkDir）"},
        {&sht, "ロットシートパスが未設定です。（ShtDir）"}};
    QStringList unset;
    for (const auto &[folder, message] : folders)
        if (folder->isEmpty())
            unset << QString::fromUtf8(message);
    return unset.join(QStringLiteral("\r\n"));
}
