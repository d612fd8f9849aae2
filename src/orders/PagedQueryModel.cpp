#include "PagedQueryModel.h"

#include "GridNumberFormat.h"

#include <QBrush>
#include <QMetaObject>

#include <algorithm>

namespace {
bool sameDatabase(const ConnectionSettings &a, const ConnectionSettings &b)
{
    return a.provider == b.provider && a.server == b.server && a.database == b.database &&
           a.user == b.user && a.password == b.password && a.schema == b.schema &&
           a.baseDir == b.baseDir;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}
} // namespace

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

PagedQueryModel::~PagedQueryModel()
{
    m_source.reset(); // the statement ends before its connection closes
}

void PagedQueryModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    mapColumns();
    endResetModel();
}

void PagedQueryModel::mapColumns()
{
    m_fieldOfColumn.clear();
    for (const GridColumn &column : std::as_const(m_columns))
        m_fieldOfColumn << fieldIndex(column.field);
}

int PagedQueryModel::columnOfField(const QString &field) const
{
    if (m_columns.isEmpty())
        return fieldIndex(field);
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].field.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int PagedQueryModel::fieldIndex(const QString &field) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void PagedQueryModel::resetState()
{
    m_source.reset();
    m_fields.clear();
    m_sourceRows = 0;
    m_dropped.clear();
    m_appended.clear();
    m_edits.clear();
    m_pages.clear();
    m_pagesFetched = 0;
    m_broken = false;
    mapColumns();
}

void PagedQueryModel::clear()
{
    beginResetModel();
    resetState();
    endResetModel();
}

void PagedQueryModel::setQuery(const ConnectionSettings &settings, const QString &sql,
                               const QVariantMap &params)
{
    beginResetModel();
    resetState();
    m_sql = sql;
    try {
        if (!m_connection || !sameDatabase(m_connection->settings(), settings) ||
            !m_connection->isAlive()) {
            m_connection.reset();
            auto connection = std::make_unique<Db>(settings);
            connection->open();
            m_connection = std::move(connection);
        }
        m_source = GridRowSource::open(*m_connection, sql, params, m_pageSize);
        m_fields = m_source->fieldNames();
        m_sourceRows = m_source->rowCount();
        m_pages.insert(0, Page{m_source->takeFirstPage(), ++m_useCounter});
        m_pagesFetched = 1;
    } catch (...) {
        resetState();
        endResetModel();
        // A connection that failed may be broken; the next fill opens a fresh one.
        if (m_connection && !m_connection->isAlive())
            m_connection.reset();
        throw;
    }
    mapColumns();
    endResetModel();
    releaseWhenComplete();
}

qint64 PagedQueryModel::totalRows() const
{
    return m_sourceRows - m_dropped.size() + m_appended.size();
}

int PagedQueryModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(qMin<qint64>(totalRows(), std::numeric_limits<int>::max()));
}

int PagedQueryModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_columns.isEmpty() ? int(m_fields.size()) : int(m_columns.size());
}

qint64 PagedQueryModel::sourceRow(int row) const
{
    const qint64 visibleSource = m_sourceRows - m_dropped.size();
    if (row < 0 || row >= visibleSource)
        return -1;
    qint64 s = row;
    for (const qint64 dropped : m_dropped) {
        if (dropped > s)
            break;
        ++s;
    }
    return s;
}

qint64 PagedQueryModel::cachedRows() const
{
    qint64 n = 0;
    for (const Page &page : std::as_const(m_pages))
        n += page.rows.size();
    return n;
}

void PagedQueryModel::setPageSize(int rows)
{
    m_pageSize = qMax(1, rows);
}

const QVariantList *PagedQueryModel::cachedSourceRow(qint64 sourceRow) const
{
    const qint64 page = sourceRow / m_pageSize;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        loadPage(page);
        it = m_pages.find(page);
        if (it == m_pages.end())
            return nullptr;
    }
    it->lastUse = ++m_useCounter;
    const qint64 offset = sourceRow % m_pageSize;
    if (offset >= it->rows.size())
        return nullptr;
    return &it->rows[offset];
}

void PagedQueryModel::loadPage(qint64 page) const
{
    if (m_broken || !m_source || m_source->isReleased())
        return;
    try {
        QList<QVariantList> rows = m_source->fetch(page * m_pageSize, m_pageSize);
        ++m_pagesFetched;
        evictPages();
        m_pages.insert(page, Page{std::move(rows), ++m_useCounter});
    } catch (const DbError &error) {
        m_broken = true;
        reportFailure(error.text());
        return;
    }
    releaseWhenComplete();
}

void PagedQueryModel::evictPages() const
{
    const qint64 cellsPerRow = qMax<qint64>(1, m_fields.size());
    const qint64 pageLimit = qMax<qint64>(2, m_cacheLimitCells / (cellsPerRow * m_pageSize));
    while (m_pages.size() >= pageLimit) {
        auto oldest = m_pages.begin();
        for (auto it = m_pages.begin(); it != m_pages.end(); ++it)
            if (it->lastUse < oldest->lastUse)
                oldest = it;
        m_pages.erase(oldest);
    }
}

// Once every row is in memory the statement and its read transaction are given back at once,
// so that a small list holds nothing open on the server.
void PagedQueryModel::releaseWhenComplete() const
{
    if (m_source && !m_source->isReleased() && cachedRows() >= m_sourceRows)
        m_source->release();
}

void PagedQueryModel::reportFailure(const QString &text) const
{
    // Called while the grid paints: the message waits until the paint is over.
    auto *self = const_cast<PagedQueryModel *>(this);
    QMetaObject::invokeMethod(
        self, [self, text] { emit self->fetchFailed(text); }, Qt::QueuedConnection);
}

QVariant PagedQueryModel::sourceValue(int row, int field) const
{
    if (field < 0)
        return {};
    const qint64 s = sourceRow(row);
    if (s < 0) {
        const qint64 appended = row - (m_sourceRows - m_dropped.size());
        if (appended < 0 || appended >= m_appended.size())
            return {};
        return m_appended[appended].value(field);
    }
    const auto edit = m_edits.constFind(s);
    if (edit != m_edits.constEnd() && edit->contains(field))
        return edit->value(field);
    const QVariantList *values = cachedSourceRow(s);
    return values ? values->value(field) : QVariant();
}

QVariant PagedQueryModel::value(int row, int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    return sourceValue(row, m_columns.isEmpty() ? column : m_fieldOfColumn.value(column, -1));
}

QVariant PagedQueryModel::fieldValue(int row, const QString &field) const
{
    return sourceValue(row, fieldIndex(field));
}

QVariantList PagedQueryModel::rowValues(int row) const
{
    QVariantList values;
    for (int f = 0; f < m_fields.size(); ++f)
        values << sourceValue(row, f);
    return values;
}

QString PagedQueryModel::text(int row, int column) const
{
    const QVariant v = value(row, column);
    if (v.isNull() || !v.isValid())
        return {};
    if (!m_columns.isEmpty() && !m_columns[column].numberFormat.isEmpty())
        return GridNumberFormat::apply(v, m_columns[column].numberFormat);
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

QVariant PagedQueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::EditRole: {
        const QVariant v = value(index.row(), index.column());
        return v.isValid() ? v : QVariant(QString());
    }
    case Qt::TextAlignmentRole:
        if (isNumber(value(index.row(), index.column())))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (m_rowColour) {
            const QColor colour = m_rowColour(index.row());
            if (colour.isValid())
                return QBrush(colour);
        }
        return {};
    default:
        return {};
    }
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return QString(); // record selectors carry no numbers
    if (m_columns.isEmpty())
        return m_fields.value(section);
    return section < m_columns.size() ? m_columns[section].caption : QString();
}

Qt::ItemFlags PagedQueryModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool locked = !m_columns.isEmpty() && m_columns.value(index.column()).locked;
    if (!locked && isCellEditable(index.row(), index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool PagedQueryModel::isCellEditable(int, int) const
{
    return false;
}

bool PagedQueryModel::deleteRow(int)
{
    return false;
}

bool PagedQueryModel::writeCell(int, int, const QVariant &)
{
    return false;
}

bool PagedQueryModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (!writeCell(index.row(), index.column(), value))
            return false;
    } catch (const DbError &error) {
        emit writeFailed(error.text());
        return false;
    }
    const int field = m_columns.isEmpty() ? index.column() : m_fieldOfColumn.value(index.column());
    setCachedValue(index.row(), field, value);
    return true;
}

void PagedQueryModel::setCachedValue(int row, int field, const QVariant &value)
{
    if (field < 0)
        return;
    const qint64 s = sourceRow(row);
    if (s < 0) {
        const qint64 appended = row - (m_sourceRows - m_dropped.size());
        if (appended >= 0 && appended < m_appended.size() && field < m_appended[appended].size())
            m_appended[appended][field] = value;
    } else {
        m_edits[s].insert(field, value);
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void PagedQueryModel::dropRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    const qint64 s = sourceRow(row);
    if (s < 0) {
        m_appended.removeAt(row - (m_sourceRows - m_dropped.size()));
    } else {
        m_edits.remove(s);
        m_dropped.insert(
            std::lower_bound(m_dropped.begin(), m_dropped.end(), s) - m_dropped.begin(), s);
    }
    endRemoveRows();
}

int PagedQueryModel::appendLocalRow(const QVariantList &values)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    QVariantList padded = values;
    while (padded.size() < m_fields.size())
        padded << QVariant();
    m_appended << padded;
    endInsertRows();
    return row;
}
