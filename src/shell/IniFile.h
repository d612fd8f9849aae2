// The INI file of an installation: sections SQLDB, Zenpan, tarvolin. Section and key names
// match without regard to case; nothing is cached, every call reads (and a write rewrites)
// the file. The file is UTF-8; a CP932 file of an older installation is read too. Written
// files are readable by their owner only, since they hold the database password.
#pragma once

#include <QString>
#include <QStringList>

class IniFile {
public:
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString section() const { return m_section; }
    void setSection(const QString &name) { m_section = name; }

    // The stored value; fallback when the key is missing or its value is empty.
    QString readString(const QString &key, const QString &fallback) const;
    // Leading digits with an optional sign ("12abc" -> 12, "abc" -> 0); fallback when the key
    // is missing or empty.
    int readInteger(const QString &key, int fallback) const;
    // Creates the file and the section when they are missing. A name or value with a line end
    // or a NUL cannot be stored on one line: refused (false), nothing written.
    bool writeString(const QString &key, const QString &value);
    void removeKey(const QString &key);
    // Removes the section named by target; an empty target removes section() and hands its name
    // back in target.
    void removeSection(QString &target);
    // The section names in file order into target; left as it was when there are none.
    int sectionNames(QStringList &target) const;
    // The "key=value" lines of section() in file order into target; left as it was when there
    // are none.
    int sectionLines(QStringList &target) const;

private:
    QString m_fileName;
    QString m_section;
};
