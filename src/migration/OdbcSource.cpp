#include "OdbcSource.h"

#include "OdbcTableReader.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>

namespace {
QAtomicInt s_counter;
}

std::unique_ptr<OdbcSource> OdbcSource::connect(const QString &connection, QString *problem)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
        *problem = QStringLiteral("ODBC のドライバ（Qt の QODBC）がありません。"
                                  "パッケージ libqt6sql6-odbc を入れてください。");
        return nullptr;
    }
    const QString name = QStringLiteral("ostera_odbc_%1").arg(s_counter.fetchAndAddRelaxed(1));
    std::unique_ptr<OdbcSource> source(new OdbcSource(name, connection));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(connection);
    if (!db.open()) {
        const QSqlError error = db.lastError();
        *problem = QStringLiteral("ODBC で接続できません: ") +
                   (error.databaseText().isEmpty() ? error.driverText() : error.databaseText());
        return nullptr;
    }
    for (const QString &table : db.tables(QSql::Tables))
        source->m_tables << table.section(QLatin1Char('.'), -1).toUpper();
    return source;
}

OdbcSource::~OdbcSource()
{
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

QString OdbcSource::describe() const
{
    QString shown = m_connection;
    static const QRegularExpression password(QStringLiteral("(PWD|PASSWORD)=[^;]*"),
                                             QRegularExpression::CaseInsensitiveOption);
    shown.replace(password, QStringLiteral("\\1=****"));
    return QStringLiteral("ODBC ") + shown;
}

std::unique_ptr<SourceTable> OdbcSource::open(const QString &table, const QStringList &,
                                              QString *problem)
{
    problem->clear();
    if (!m_tables.contains(table.toUpper()))
        return nullptr;
    auto reader = std::make_unique<OdbcTableReader>(QSqlDatabase::database(m_name, false), table);
    if (!reader->open(problem))
        return nullptr;
    return reader;
}
