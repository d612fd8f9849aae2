// Where a migration reads the existing system's tables from: a folder of table exports or an
// ODBC connection to its database.
#pragma once

#include "SourceTable.h"

#include <QString>
#include <QStringList>

#include <memory>

class MigrationSource {
public:
    virtual ~MigrationSource() = default;

    // The source as the report names it (an ODBC password is not shown).
    virtual QString describe() const = 0;
    // The reader of a table (deskColumns: the desk's columns of the table, which a header
    // line may name besides the existing system's); nullptr when the source has no such table
    // (*problem empty) or when it cannot be read (*problem says why).
    virtual std::unique_ptr<SourceTable> open(const QString &table, const QStringList &deskColumns,
                                              QString *problem) = 0;
    // What the source holds that no carried table reads (work tables, other files), for the
    // report.
    virtual QStringList ignored() const { return {}; }

    // "odbc:CONNECTION" or a folder; nullptr with *problem when it cannot be opened.
    static std::unique_ptr<MigrationSource> fromArgument(const QString &argument, QString *problem);
};
