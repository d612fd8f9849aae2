// The format file bcp writes beside a table's data file (`bcp TABLE format nul -c -f
// TABLE.fmt`, or with -x as XML): which table column each field of the data file loads, and the
// terminators between fields and rows. Only terminated character fields (bcp -c and -w) are
// read; fixed-width, length-prefixed and native fields are refused.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class BcpFormatFile {
public:
    // std::nullopt with *problem when the text is not a format file this reader takes.
    static std::optional<BcpFormatFile> parse(const QByteArray &text, QString *problem);
    static std::optional<BcpFormatFile> read(const QString &path, QString *problem);

    // For each field of the data file in order, the column it loads ("" for a field that
    // loads none).
    const QStringList &fieldColumns() const { return m_columns; }
    // Between two fields, and after the last field of a row.
    const QString &fieldTerminator() const { return m_fieldTerminator; }
    const QString &rowTerminator() const { return m_rowTerminator; }
    // bcp -w: the data file is UTF-16.
    bool unicode() const { return m_unicode; }
    bool isXml() const { return m_xml; }

private:
    struct Field {
        QString terminator;
        QString column;
        bool unicode = false;
    };
    static std::optional<BcpFormatFile> fromFields(const QList<Field> &fields, bool xml,
                                                   QString *problem);
    static std::optional<BcpFormatFile> parsePlain(const QByteArray &text, QString *problem);
    static std::optional<BcpFormatFile> parseXml(const QByteArray &text, QString *problem);

    QStringList m_columns;
    QString m_fieldTerminator;
    QString m_rowTerminator;
    bool m_unicode = false;
    bool m_xml = false;
};
