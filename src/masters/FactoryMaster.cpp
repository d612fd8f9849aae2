#include "FactoryMaster.h"

#include "ExclusiveFiles.h"

QStringList FactoryMaster::columns() const
{
    return {QStringLiteral("FC_RG"),     QStringLiteral("FC_CD"),  QStringLiteral("FC_RNM"),
            QStringLiteral("FC_NM"),     QStringLiteral("GENSAN"), QStringLiteral("ADRESS1"),
            QStringLiteral("ADRESS2"),   QStringLiteral("TEL"),    QStringLiteral("FAX"),
            QStringLiteral("SEI_NO"),    QStringLiteral("NOU_NO"), QStringLiteral("OKR_NO"),
            QStringLiteral("BIKO1"),     QStringLiteral("BIKO2"),  QStringLiteral("USER_NM"),
            QStringLiteral("TIME_STAMP")};
}

QString FactoryMaster::missingKeyMessage() const
{
    return QStringLiteral("工場略号が入力されていません。");
}

QStringList FactoryMaster::origins()
{
    return {QStringLiteral("日本製"), QStringLiteral("中国製"), QStringLiteral("韓国製")};
}

QString FactoryMaster::codeRefusal(const QString &fcRg)
{
    if (fcRg.isEmpty())
        return {};
    const QString character = ExclusiveFiles::refusedCharacter(fcRg);
    if (character.isEmpty())
        return {};
    if (character == QLatin1String("."))
        return QStringLiteral("工場略号は「.」で始められません。");
    return QStringLiteral("工場略号に使えない文字「") + character +
           QStringLiteral("」があります。");
}

QString FactoryMaster::listStatement()
{
    return QStringLiteral("Select * From MST_FACTORY Order By FC_RG ");
}
