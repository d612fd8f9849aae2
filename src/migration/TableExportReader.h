// One table export file of the existing system, read row by row with little memory whatever
// its size: bcp's character format (tab-separated, no header line, CP932), bcp -w (UTF-16),
// and the export wizard's CSV (header line, commas, quotes that may hold commas and line ends,
// UTF-8 with or without BOM, or CP932). The encoding and the layout are found from the file;
// the column names come from its header line, else from the format file beside it, else from
// the existing system's column order of the table.
#pragma once

#include "BcpFormatFile.h"
#include "SourceTable.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>

class TableExportReader : public SourceTable {
public:
    enum class Encoding { Ascii, Cp932, Utf8, Utf8Bom, Utf16 };
    enum class Layout { Tab, Csv };

    // knownColumns: the names a header line of this table may hold (a first line of such
    // names is taken for a header); defaultColumns: the order of a file without header line
    // and format file.
    TableExportReader(const QString &path, const std::optional<BcpFormatFile> &format,
                      const QString &formatName, const QStringList &knownColumns,
                      const QStringList &defaultColumns);

    // Finds the format and the columns; false with *problem when the file cannot be read so.
    bool open(QString *problem);

    QStringList columns() const override { return m_columns; }
    QString columnsFrom() const override { return m_columnsFrom; }
    QString format() const override;
    bool next(SourceRow &row) override;
    qint64 progressTotal() const override { return m_size; }
    qint64 progressDone() const override { return m_consumed; }

    Encoding encoding() const { return m_encoding; }
    Layout layout() const { return m_layout; }
    bool hasHeader() const { return m_header; }

private:
    struct Line {
        qint64 number = 0;
        QString text; // without its line feed; a carriage return before it is kept
        bool badEncoding = false;
        bool fromCp932 = false;
    };
    bool fill();
    void detectEncoding();
    bool readLine(Line &line);
    QString decode(QByteArrayView bytes, bool *ok, bool *fromCp932);
    bool readRecord(SourceRow &row, const Line *firstLine = nullptr);
    void splitTabLine(const QString &text, QStringList &fields) const;

    QString m_path;
    std::optional<BcpFormatFile> m_formatFile;
    QString m_formatName;
    QStringList m_knownColumns;
    QStringList m_defaultColumns;

    QFile m_file;
    qint64 m_size = 0;
    qint64 m_consumed = 0;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    qint64 m_lineNumber = 0;
    Encoding m_encoding = Encoding::Ascii;
    bool m_encodingKnown = false;
    QStringDecoder m_utf8{QStringDecoder::Utf8};

    Layout m_layout = Layout::Tab;
    QString m_fieldTerminator = QStringLiteral("\t");
    QString m_rowEnd; // what stands before the line end of a row besides a carriage return
    bool m_header = false;
    QStringList m_columns;
    QString m_columnsFrom;
    std::optional<SourceRow> m_peeked;
};
