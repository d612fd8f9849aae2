// The open business month of SYS_TUKI: the import numbers its control numbers under it.
#pragma once

#include <QString>

#include <optional>

class Db;

struct OpenMonth {
    QString nen;  // four-digit year
    QString tuki; // two-digit month

    // The month with KAKUTEI_FLG '0' (at most one is open); std::nullopt when none is.
    static std::optional<OpenMonth> read(Db &db);

    // Shown when no month is open.
    static QString notSetMessage();
};
