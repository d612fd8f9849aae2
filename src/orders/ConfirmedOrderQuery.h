// The query of the confirmed-order reference (確定済み参照), held in four parts — select list,
// from part, where part, order part — whose concatenation is both the grid's statement and
// the export's. The select list names the columns with the Japanese headings the grid and the
// spreadsheet show; they are written in double quotes so that PostgreSQL keeps them as they
// are (it would fold "管理No" to lower case otherwise).
#pragma once

#include <QString>

// The reference screen's filters as typed; an empty text is a filter not given. There is no
// Like matching and no date check here: values are compared as typed, except that a set date
// typed without leading zeros is written as yyyy/mm/dd first.
struct ConfirmedOrderFilters {
    QString impDate;    // 処理日
    QString setDate1;   // セット日 from
    QString setDate2;   // セット日 to
    QString lotNo;      // LotNo
    QString hinban;     // 品番
    QString row;        // ROW
    QString seisanTuki; // 生産月
    QString carCd;      // ネーム種
};

class ConfirmedOrderQuery {
public:
    static QString selectList();
    static QString fromPart() { return QStringLiteral("From TBL_ORDER "); }
    // "Where FLG4 = '1' " and one term per filter given, each ending with one blank.
    static QString wherePart(const ConfirmedOrderFilters &filters);
    // By import date and control number (AB-999 before AB-1000); the line number settles ties
    // so that the grid and the export list the lines in the same order every time.
    static QString orderPart();
    static QString sql(const ConfirmedOrderFilters &filters);

private:
    ConfirmedOrderQuery() = default;
};
