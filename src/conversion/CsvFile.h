// One output CSV file of a conversion run: every value in double quotes (an inner quote
// doubled), commas between values, CR LF after each line, no header, text in CP932.
// The lines go to a temporary file created exclusively in the target folder. commit() gives
// it the first free name among base.csv, base_1.csv ... base_99.csv, never replacing a file
// (one that appears meanwhile included); a file that is not committed leaves nothing behind.
// A writer of many files hands each the names its folder held when it read the folder once
// (FolderNames): names known to be taken are passed over without asking the file system.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The names a folder holds, read once; the names a writer takes or finds taken are added.
using FolderNames = QSet<QString>;

class CsvFile {
public:
    // names: what the folder is known to hold (nullptr: nothing known).
    CsvFile(QString folder, QString base, FolderNames *names = nullptr);
    ~CsvFile();
    CsvFile(const CsvFile &) = delete;
    CsvFile &operator=(const CsvFile &) = delete;

    // Creates the temporary file; false with error() set.
    bool open();
    // Encodes and writes one line; false with error() set. controlNumber names the line in
    // the message when a value holds a character CP932 cannot take.
    bool writeLine(const QStringList &values, const QString &controlNumber);
    // The same for values as UTF-8 text, as a BulkReader reads them.
    bool writeLine(const QList<QByteArrayView> &values, QByteArrayView controlNumber);
    // Closes the temporary file and gives it the first free name.
    bool commit();
    // Drops the temporary file.
    void discard();

    QString error() const { return m_error; }
    // The name taken by commit(); before it, the name the file would take first.
    QString finalPath() const { return m_finalPath; }
    int lines() const { return m_lines; }

    // The message for a character CP932 cannot hold.
    static QString unencodableMessage(const QString &controlNumber, const QString &character);
    // The refusal of a name made from a line's data that holds a character no file name may
    // hold here ("." when the name starts with it).
    static QString unusableNameMessage(const QString &controlNumber, const QString &base,
                                       const QString &character);
    // The refusal of a name that meets another name of the same run.
    static QString clashingNameMessage(const QString &controlNumber, const QString &base,
                                       const QString &otherBase);
    // The refusal when every free name is taken.
    static QString namesUsedUpMessage(const QString &base);
    // The free names tried for a base run up to base_99.
    static constexpr int kLastCandidate = 99;
    // Every name in folder (files, folders and links alike); throws nothing, an unreadable
    // folder gives an empty set (the file system then answers each name itself).
    static FolderNames namesIn(const QString &folder);

private:
    // The n-th name tried for base: base, base_1 ... base_99.
    static QString candidate(const QString &base, int n);
    bool fail(const QString &text);
    template <class Values, class ControlNumber>
    bool appendLine(const Values &values, const ControlNumber &controlNumber);

    QString m_folder;
    QString m_base;
    QString m_finalPath;
    FolderNames *m_names;
    QFile m_file;
    QByteArray m_buffer;
    QString m_error;
    int m_lines = 0;
    bool m_created = false;
    bool m_committed = false;
};
