#include "Session.h"

#include "Db.h"
#include "Dialogs.h"
#include "Installation.h"
#include "globals.h"

Session::Session() = default;
Session::~Session() = default;

Outcome Session::open(int borrowed)
{
    return open(appDialogs(), borrowed);
}

Outcome Session::open(Dialogs &dialogs, int borrowed)
{
    if (borrowed != 0)
        return Outcome::Done;
    if (m_db && m_db->isOpen() && m_db->isAlive()) {
        ++m_openCount;
        return Outcome::Done;
    }
    m_db = std::make_unique<Db>(ConnectionSettings::fromGlobals());
    try {
        m_db->open();
    } catch (const DbError &error) {
        dialogs.message(error.describe(), Icon::Error, QStringLiteral("dbOpen"));
        return Outcome::Failed;
    }
    ++m_openCount;
    return Outcome::Done;
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
