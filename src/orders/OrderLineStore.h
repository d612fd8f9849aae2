// Writes and deletes single order lines of TBL_ORDER for the edit grid, with a real optimistic
// check: a statement touches the line only while every column the screen read still holds the
// value it read. Zero lines touched means another workstation changed (or deleted) the line
// first; nothing of theirs is overwritten and the caller reloads the line.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class Db;

// One column of a line: its name and the value the screen read.
struct OrderLineValue {
    QString column;
    QVariant value;
};

class OrderLineStore {
public:
    explicit OrderLineStore(Db &db) : m_db(db) {}

    // The message when the line was changed or deleted meanwhile.
    static QString conflictText();
    // INTEGER columns of TBL_ORDER the grid shows.
    static bool isNumberColumn(const QString &column);
    // A typed number for an INTEGER column (blanks around it allowed, full-width digits and
    // signs taken as their ASCII forms); nullopt when the text is not a whole number that the
    // column can hold.
    static std::optional<int> parseNumber(const QString &text);

    // Sets changes on the line whose columns still hold read (IMP_DATE and IMP_LN among them);
    // a changed printer brings its data kind (DATA_FLG) from MST_PRINTER along.
    // false when no line matched. Throws DbError.
    bool update(const QList<OrderLineValue> &changes, const QList<OrderLineValue> &read);
    // Deletes the line when it still holds read; false when no line matched. Throws DbError.
    bool remove(const QList<OrderLineValue> &read);
    // Every column of the line as it is now (names as the engine gives them); nullopt when the
    // line is gone. Throws DbError.
    std::optional<QVariantMap> reload(const QString &impDate, const QVariant &impLn);
    // The findings of the error check on the line (TBL_ERR), one text per finding in their
    // order: the finding, then the key values concerned when there are any. Throws DbError.
    QStringList findings(const QString &impDate, const QVariant &impLn);

private:
    void addDataKind(QList<OrderLineValue> &changes, QList<OrderLineValue> &read);
    // "IMP_DATE = :w0 AND IMP_LN = :w1 AND ..." with its values added to params.
    static QString unchangedCondition(const QList<OrderLineValue> &read, QVariantMap &params);

    Db &m_db;
};
