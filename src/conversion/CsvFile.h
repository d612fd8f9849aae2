// One output CSV file of a conversion run: every value in double quotes (an inner quote
// doubled), commas between values, CR LF after each line, no header, text in CP932.
// The lines go to a temporary file in the target folder, which takes the final name only
// when commit() succeeds; a file that is not committed leaves nothing behind.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

class CsvFile {
public:
    explicit CsvFile(QString finalPath);
    ~CsvFile();
    CsvFile(const CsvFile &) = delete;
    CsvFile &operator=(const CsvFile &) = delete;

    // Opens the temporary file; false with error() set.
    bool open();
    // Encodes and writes one line; false with error() set. controlNumber names the line in
    // the message when a value holds a character CP932 cannot take.
    bool writeLine(const QStringList &values, const QString &controlNumber);
    // Closes the temporary file and gives it its final name (replacing a file of that name).
    bool commit();
    // Drops the temporary file.
    void discard();

    QString error() const { return m_error; }
    QString finalPath() const { return m_finalPath; }
    int lines() const { return m_lines; }

    // "a","b""c","" — without the line end.
    static QString line(const QStringList &values);
    // The message for a character CP932 cannot hold.
    static QString unencodableMessage(const QString &controlNumber, const QString &character);

    // The first free name among base.csv, base_1.csv ... base_99.csv in folder;
    // std::nullopt when all 100 exist.
    static std::optional<QString> freePath(const QString &folder, const QString &base);
    // The refusal when every free name is taken.
    static QString namesUsedUpMessage(const QString &base);

private:
    bool fail(const QString &text);

    QString m_finalPath;
    QFile m_file;
    QByteArray m_buffer;
    QString m_error;
    int m_lines = 0;
    bool m_committed = false;
};
