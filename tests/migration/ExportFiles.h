// Table exports as the existing system's tools write them, made from readable literals: bcp's
// character format (CP932, tabs, CR LF, the empty string as one NUL), bcp -w (UTF-16 without
// byte order mark), and the export wizard's CSV.
#pragma once

#include "CarriedTables.h"
#include "Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace ExportFiles {

inline QByteArray cp932(const QString &text)
{
    const Cp932::Encoded encoded = Cp932::encode(text);
    EXPECT_TRUE(encoded.ok()) << text.toStdString();
    return encoded.bytes;
}

inline QString tabRows(const QList<QStringList> &rows, bool emptyAsNul)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields = row;
        if (emptyAsNul)
            for (QString &f : fields)
                if (f.isEmpty())
                    f = QString(QChar(u'\0'));
        text += fields.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    return text;
}

// bcp -c: CP932, tab between fields, CR LF after each row, '' written as NUL.
inline QByteArray bcpCharacter(const QList<QStringList> &rows)
{
    return cp932(tabRows(rows, true));
}

// bcp -w: the same in UTF-16 (little-endian, no byte order mark).
inline QByteArray bcpWide(const QList<QStringList> &rows)
{
    const QString text = tabRows(rows, true);
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// CSV lines as written, joined with CR LF.
inline QByteArray csvUtf8(const QStringList &lines, bool bom)
{
    return (bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
           (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

inline QByteArray csvCp932(const QStringList &lines)
{
    return cp932(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// A row of a table in the existing system's column order: the given values, '0' for the
// flags, 0 for the numbers the desk keeps as integers, '' elsewhere.
inline QStringList rowOf(const QString &table, const QMap<QString, QString> &values)
{
    QStringList row;
    for (const QString &column : CarriedTables::existingColumnOrder(table)) {
        if (values.contains(column))
            row << values.value(column);
        else if (CarriedTables::formOf(table, column) == CarriedTables::Form::Flag)
            row << QStringLiteral("0");
        else if (column == QLatin1String("IMP_LN") || column.endsWith(QLatin1String("_SU")) ||
                 column == QLatin1String("SU") || column == QLatin1String("LOT_AVG"))
            row << QStringLiteral("0");
        else
            row << QString();
    }
    return row;
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

} // namespace ExportFiles
