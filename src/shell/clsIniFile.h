// The INI file of an installation: sections SQLDB, Zenpan, tarvolin. Section and key names
// match without regard to case; nothing is cached, every call reads (and a write rewrites)
// the file. The file is UTF-8; a CP932 file of an older installation is read too. Written
// files are readable by their owner only, since they hold the database password.
#pragma once

#include <QString>
#include <QStringList>

class clsIniFile {
public:
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &strNewFileName) { m_fileName = strNewFileName; }
    QString Section() const { return m_section; }
    void setSection(const QString &strNewValue) { m_section = strNewValue; }

    // The stored value; strDefault when the key is missing or its value is empty.
    QString GetString(const QString &strKey, const QString &strDefault) const;
    // Leading digits with an optional sign ("12abc" -> 12, "abc" -> 0); lngDefault when the key
    // is missing or empty.
    int GetInteger(const QString &strKey, int lngDefault) const;
    // Creates the file and the section when they are missing. A name or value with a line end
    // or a NUL cannot be stored on one line: refused (false), nothing written.
    bool SetString(const QString &strKey, const QString &strValue);
    void DeleteKeyName(const QString &strKey);
    // An empty strSection removes Section and hands its name back.
    void DeleteSection(QString &strSection);
    // Section names in file order; the list is left as it was when there are none.
    int EmnumSection(QStringList &strSection) const;
    // "key=value" lines of Section in file order; the list is left as it was when there are none.
    int EnumSectionString(QStringList &strSectionString) const;

private:
    QString m_fileName;
    QString m_section;
};
