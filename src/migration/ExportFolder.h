// A folder of the existing system's table exports: one file per table, named after the table
// with any extension (TBL_ORDER.txt, MST_QUL.csv, SYS_KNR_NO.bcp), and the bcp format file
// TABLE.fmt beside a file that has no header line.
#pragma once

#include "MigrationSource.h"

#include <QHash>

class ExportFolder : public MigrationSource {
public:
    static std::unique_ptr<ExportFolder> scan(const QString &folder, QString *problem);

    QString describe() const override;
    std::unique_ptr<SourceTable> open(const QString &table, const QStringList &deskColumns,
                                      QString *problem) override;
    QStringList ignored() const override { return m_ignored; }

private:
    explicit ExportFolder(const QString &folder) : m_folder(folder) {}

    QString m_folder;
    QHash<QString, QStringList> m_files;   // table (upper case) -> its data files
    QHash<QString, QString> m_formatFiles; // table -> TABLE.fmt
    QStringList m_ignored;
};
