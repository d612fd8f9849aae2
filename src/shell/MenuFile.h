// The menu definition file "Menu1.txt": comma-separated values with a header line naming the
// columns Menu_No, Menu_No_IDX, Menu_Name, Menu_Ku, Next_P. UTF-8, or CP932 when the bytes are
// not valid UTF-8 (files written on the old workstations). The menu window reads one level at
// a time; the file is read afresh each time so that an edited file shows at once.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// One row of the file, fields as written (unquoted, outer blanks removed).
struct MenuRow {
    int line = 0; // record number in the file, the header being line 1
    QString menuNo;
    QString position; // Menu_No_IDX as written
    QString name;
    QString kind;
    QString next;
};

struct MenuEntry {
    QString caption;
    QString kind; // M, F or S in any case; anything else is inert
    QString target;
};

// One level as the menu window shows it: the title (when the level has a title row) and the
// sixteen entries, index 1 to 16 (index 0 unused).
struct MenuLevel {
    bool hasTitle = false;
    QString title;
    std::array<MenuEntry, 17> entries;
    // Rows of the level that could not be placed (position not a whole number from 0 to 16).
    QStringList problems;
};

class MenuFile {
public:
    // Reads and parses the file; an unreadable file gives ok() false and an error text.
    static MenuFile read(const QString &path);
    static MenuFile parse(const QByteArray &bytes);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    const QList<MenuRow> &rows() const { return m_rows; }

    // The rows whose Menu_No equals menuNo as text, placed by position in file order (a later
    // row with the same position overwrites an earlier one).
    MenuLevel level(const QString &menuNo) const;

    // The entry number an operator's typed text selects, or 0 when it selects none: shorter
    // than 15 characters, numeric, rounded to the nearest whole number (halves to the even
    // neighbour), from 1 to 16.
    static int entryNumberOf(const QString &typed);

private:
    QList<MenuRow> m_rows;
    QString m_error;
};
