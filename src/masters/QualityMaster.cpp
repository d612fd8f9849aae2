#include "QualityMaster.h"

#include "Db.h"

namespace {
bool rowFilled(const MasterValues &values, int n)
{
    for (const char *name : {"BUI", "SOS", "KON"})
        if (!values.value(QualityMaster::numbered(QLatin1String(name), n)).isEmpty())
            return true;
    return false;
}

// The highest position 1..count whose field is filled, 0 when none is.
int highestFilled(const MasterValues &values, const QString &name, int count)
{
    for (int n = count; n >= 1; --n)
        if (!values.value(QualityMaster::numbered(name, n)).isEmpty())
            return n;
    return 0;
}
} // namespace

QStringList QualityMaster::columns() const
{
    QStringList names = {QStringLiteral("QUL_KEY"), QStringLiteral("QUL_NO"),
                         QStringLiteral("LAYOUT2"), QStringLiteral("LAYOUT3"),
                         QStringLiteral("LAYOUT4")};
    for (int n = 1; n <= kRows; ++n)
        names << numbered(QStringLiteral("BUI"), n) << numbered(QStringLiteral("SOS"), n)
              << numbered(QStringLiteral("KON"), n);
    for (int n = 1; n <= kSymbols; ++n)
        names << numbered(QStringLiteral("EHJ"), n);
    for (int n = 1; n <= kNotes; ++n)
        names << numbered(QStringLiteral("EFUKI"), n);
    names << QStringLiteral("USER_NM") << QStringLiteral("TIME_STAMP");
    return names;
}

QString QualityMaster::missingKeyMessage() const
{
    return QStringLiteral("品質キーが入力されていません。");
}

QStringList QualityMaster::careSymbols()
{
    QStringList symbols;
    for (const QSqlRecord &row :
         db().rows(QStringLiteral("Select EHJ_NO From MST_EHJ Order By EHJ_NO ")))
        symbols << row.value(0).toString();
    return symbols;
}

void QualityMaster::setLayoutCodes(MasterValues &values)
{
    int lastRow = 0;
    for (int n = kRows; n >= 1 && lastRow == 0; --n)
        if (rowFilled(values, n))
            lastRow = n;
    const int lastSymbol = highestFilled(values, QStringLiteral("EHJ"), kSymbols);
    const int lastNote = highestFilled(values, QStringLiteral("EFUKI"), kNotes);

    const int l2 = lastSymbol >= 5 ? 3 : lastSymbol >= 3 ? 2 : 1;
    const int l3 = lastRow >= 7 ? 2 : 1;
    const int l4 = lastNote + 1;
    values.insert(QStringLiteral("LAYOUT2"), QString::number(l2));
    values.insert(QStringLiteral("LAYOUT3"), QString::number(l3));
    values.insert(QStringLiteral("LAYOUT4"), QString::number(l4));
}

QString QualityMaster::listStatement()
{
    return QStringLiteral("Select * From MST_QUL Order By QUL_KEY ");
}
