// One group of the order lists: the lines of one factory, order date, set date and brand in
// WRK_RPT. Each group starts on a new page.
#pragma once

#include <QSqlRecord>
#include <QString>

#include <functional>

class Db;
class Progress;
class ReportRowStream;
struct ReportSource;

struct ReportGroup {
    QString fcRg;
    QString fcNm;
    QString fcCd;
    QString ordDate;
    QString setDate;
    QString brCd;

    // The six columns that name a group.
    static QString columns();
    // The order the groups print in: set date, brand and factory; the others only break ties,
    // so that the pages come out the same every time.
    static QString order();
    // The order of a group's lines: factory, name type, control number (AB-1000 after AB-999),
    // product number, colour and size.
    static QString lineOrder();
    // The group a row of a statement that selects columns() belongs to.
    static ReportGroup of(const QSqlRecord &row);
    bool operator==(const ReportGroup &other) const = default;

    // The rows of one group from a stream ordered by order() first.
    class Rows {
    public:
        Rows(ReportRowStream &stream, const ReportGroup &group) : m_stream(stream), m_group(group)
        {
        }
        // Stands on the group's next row; false after its last.
        bool next();
        const QSqlRecord &row() const;
        // The row it stands on is the group's last.
        bool isLast() const;
        // Passes the rows of the group not read.
        void skipRest();

    private:
        bool belongs(const QSqlRecord &row) const;

        ReportRowStream &m_stream;
        const ReportGroup &m_group;
        bool m_started = false;
        bool m_ended = false;
    };

    // Prints each group of the rows of `select` ("Select ... From " + source.from() with the
    // columns() among those selected; the groups' order comes first and then `rowOrder`), in
    // one ordered pass, stepping the progress under caption; false when there is no row.
    static bool printEach(Db &db, const ReportSource &source, Progress &progress,
                          const QString &caption, const QString &select, const QString &rowOrder,
                          const std::function<void(const ReportGroup &, Rows &)> &print);
};
