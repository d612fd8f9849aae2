// Grid rows from PostgreSQL through a scrollable cursor (DECLARE ... SCROLL CURSOR, FETCH)
// inside a read transaction of the grid's own connection. The Qt driver would otherwise load
// the whole result into memory.
#pragma once

#include "GridRowSource.h"

class PostgresCursorSource : public GridRowSource {
public:
    PostgresCursorSource(Db &db, const QString &sql, const QVariantMap &params, int firstPageRows);
    ~PostgresCursorSource() override;

    QList<QVariantList> fetch(qint64 first, int count) override;
    void release() override;

private:
    QList<QVariantList> fetchForward(int count, bool keepFieldNames);

    Db &m_db;
    // Rows already passed: the cursor stands on row m_position (1-based; 0 = before the first).
    qint64 m_position = 0;
};
