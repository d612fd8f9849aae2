#include "ExportFolder.h"

#include "CarriedTables.h"
#include "TableExportReader.h"

#include <QDir>
#include <QFileInfo>

std::unique_ptr<ExportFolder> ExportFolder::scan(const QString &folder, QString *problem)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        *problem = QStringLiteral("フォルダがありません: ") + folder;
        return nullptr;
    }
    std::unique_ptr<ExportFolder> source(new ExportFolder(info.absoluteFilePath()));
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString table = file.baseName().toUpper();
        if (!CarriedTables::isCarried(table)) {
            source->m_ignored << file.fileName();
            continue;
        }
        if (file.suffix().compare(QLatin1String("fmt"), Qt::CaseInsensitive) == 0)
            source->m_formatFiles.insert(table, file.absoluteFilePath());
        else
            source->m_files[table] << file.absoluteFilePath();
    }
    return source;
}

QString ExportFolder::describe() const
{
    return QStringLiteral("フォルダ ") + m_folder;
}

std::unique_ptr<SourceTable> ExportFolder::open(const QString &table,
                                                const QStringList &deskColumns, QString *problem)
{
    problem->clear();
    const QString name = table.toUpper();
    const QStringList files = m_files.value(name);
    if (files.isEmpty())
        return nullptr;
    if (files.size() > 1) {
        QStringList names;
        for (const QString &f : files)
            names << QFileInfo(f).fileName();
        *problem = QStringLiteral("ファイルが二つ以上あります（%1）。")
                       .arg(names.join(QStringLiteral("、")));
        return nullptr;
    }
    std::optional<BcpFormatFile> format;
    QString formatName = name + QStringLiteral(".fmt");
    if (m_formatFiles.contains(name)) {
        formatName = QFileInfo(m_formatFiles.value(name)).fileName();
        format = BcpFormatFile::read(m_formatFiles.value(name), problem);
        if (!format) {
            *problem = formatName + QStringLiteral(": ") + *problem;
            return nullptr;
        }
    }
    const QStringList defaults = CarriedTables::existingColumnOrder(name);
    const QStringList known = deskColumns + defaults;
    auto reader =
        std::make_unique<TableExportReader>(files.first(), format, formatName, known, defaults);
    if (!reader->open(problem)) {
        *problem = QFileInfo(files.first()).fileName() + QStringLiteral(": ") + *problem;
        return nullptr;
    }
    return reader;
}
