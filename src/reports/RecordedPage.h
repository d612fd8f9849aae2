// What one output page held: every value set, the sections shown, and the text each field
// actually printed (a value in a hidden section or hidden field prints nothing). The engine
// keeps these when asked to, so the lists can be checked without reading a PDF.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>

struct RecordedPage {
    QHash<QString, QString> values;  // as set, shown or not
    QHash<QString, QString> printed; // field -> text drawn on the page (non-empty only)
    QSet<QString> sections;          // sections shown
    QSet<QString> shownItems;        // named items (frames, rules, fields) drawn

    QString text(const QString &field) const { return printed.value(field); }
    bool sectionShown(const QString &name) const { return sections.contains(name); }
    bool itemShown(const QString &name) const { return shownItems.contains(name); }
};
