// Where a grid's rows come from: the result of one SELECT, read a page at a time on a
// connection of the grid's own, so that memory stays bounded whatever the statement returns.
// PostgreSQL keeps a scrollable cursor open; SQLite steps one prepared statement. Both hold a
// read transaction, so every page comes from the same snapshot as the row count.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <utility>

class Db;

class GridRowSource {
public:
    virtual ~GridRowSource() = default;

    // Runs sql with its bound values on db (a connection used by nothing else) and reads the
    // first page of firstPageRows rows; throws DbError with the database's text.
    static std::unique_ptr<GridRowSource> open(Db &db, const QString &sql,
                                               const QVariantMap &params, int firstPageRows);

    QStringList fieldNames() const { return m_fields; }
    qint64 rowCount() const { return m_count; }
    // The rows read by open().
    QList<QVariantList> takeFirstPage() { return std::exchange(m_firstPage, {}); }

    // Rows [first, first + count) of the result (fewer at the end); throws DbError.
    virtual QList<QVariantList> fetch(qint64 first, int count) = 0;
    // Ends the statement and its read transaction; nothing can be fetched afterwards.
    virtual void release() = 0;
    bool isReleased() const { return m_released; }

protected:
    QStringList m_fields;
    qint64 m_count = 0;
    QList<QVariantList> m_firstPage;
    bool m_released = false;
};
