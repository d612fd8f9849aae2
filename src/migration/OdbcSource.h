// The existing system's database read through ODBC (Qt's ODBC driver; FreeTDS reaches SQL
// Server): "odbc:Driver=FreeTDS;Server=host;Port=1433;Database=...;UID=...;PWD=...".
#pragma once

#include "MigrationSource.h"

class OdbcSource : public MigrationSource {
public:
    static std::unique_ptr<OdbcSource> connect(const QString &connection, QString *problem);
    ~OdbcSource() override;

    QString describe() const override;
    std::unique_ptr<SourceTable> open(const QString &table, const QStringList &deskColumns,
                                      QString *problem) override;

private:
    OdbcSource(const QString &name, const QString &connection)
        : m_name(name), m_connection(connection)
    {
    }

    QString m_name; // of the Qt connection
    QString m_connection;
    QStringList m_tables; // upper case
};
