#include "Session.h"

#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "globals.h"

namespace {
int numberOf(const DbError &error)
{
    bool ok = false;
    const int n = error.number().toInt(&ok);
    return ok && n != 0 ? n : 1;
}
} // namespace

Session::Session() = default;
Session::~Session() = default;

int Session::open(int borrowed)
{
    return open(appDialogs(), borrowed);
}

int Session::open(Dialogs &dialogs, int borrowed)
{
    if (borrowed != 0)
        return 0;
    if (m_db && m_db->isOpen() && m_db->isAlive()) {
        ++m_openCount;
        return 0;
    }
    m_db = std::make_unique<Db>(ConnectionSettings::fromGlobals());
    try {
        m_db->open();
    } catch (const DbError &error) {
        dialogs.message(error.describe(), Icon::Error, QStringLiteral("dbOpen"));
        return numberOf(error);
    }
    ++m_openCount;
    return 0;
}

void Session::close(int borrowed)
{
    if (borrowed != 0 || m_openCount != 1 || !m_db)
        return;
    m_db->close();
}

void Session::shutdown()
{
    m_db.reset();
    m_openCount = 0;
}

QString Session::userName() const
{
    return gUserName;
}

void Session::setUserName(const QString &name)
{
    gUserName = name;
}

QString Session::iniPath() const
{
    return gIniPath;
}

QString Session::installDir() const
{
    return gInstallDir;
}

void Session::setIniPath(const QString &iniPath)
{
    gIniPath = iniPath;
    gInstallDir = Installation::installDirOf(iniPath);
}

void Session::reset()
{
    m_importDate.clear();
    m_condition = OrderCondition();
    m_listPrinter.clear();
    m_dailyPrinter.clear();
    m_folders = OutputFolders();
}
