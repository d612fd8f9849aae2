#include "LayoutDesign.h"

#include "ReportError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QHash<QString, QPageSize::PageSizeId> &paperSizes()
{
    static const QHash<QString, QPageSize::PageSizeId> sizes = {
        {QStringLiteral("A3"), QPageSize::A3},    {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A5"), QPageSize::A5},    {QStringLiteral("B4"), QPageSize::JisB4},
        {QStringLiteral("B5"), QPageSize::JisB5}, {QStringLiteral("Letter"), QPageSize::Letter},
    };
    return sizes;
}

QString withIndexes(QString name, const QHash<QString, int> &indexes)
{
    for (auto it = indexes.constBegin(); it != indexes.constEnd(); ++it)
        name.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), QString::number(it.value()));
    return name;
}

LayoutDesign::Kind kindOf(const QString &type, const QString &origin)
{
    if (type == QLatin1String("label"))
        return LayoutDesign::Kind::Label;
    if (type == QLatin1String("field"))
        return LayoutDesign::Kind::Field;
    if (type == QLatin1String("frame"))
        return LayoutDesign::Kind::Frame;
    if (type == QLatin1String("rule"))
        return LayoutDesign::Kind::Rule;
    throw ReportError(origin + QStringLiteral(": 不明な項目の種類 ") + type);
}

LayoutDesign::Align alignOf(const QString &align)
{
    if (align == QLatin1String("center"))
        return LayoutDesign::Align::Center;
    if (align == QLatin1String("right"))
        return LayoutDesign::Align::Right;
    return LayoutDesign::Align::Left;
}

QColor colorOf(const QJsonObject &object, const QString &key, const QColor &fallback)
{
    const QString text = object.value(key).toString();
    return text.isEmpty() ? fallback : QColor(text);
}

} // namespace

LayoutDesign LayoutDesign::load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw ReportError(QStringLiteral("レイアウトファイルが見つかりません。") + path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("レイアウトファイルを開けません。") + path +
                          QLatin1Char(' ') + file.errorString());
    return fromJson(file.readAll(), path);
}

LayoutDesign LayoutDesign::fromJson(const QByteArray &json, const QString &origin)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw ReportError(origin +
                          QStringLiteral(": レイアウトファイルの形式が正しくありません。") +
                          error.errorString() + QStringLiteral(" (") +
                          QString::number(error.offset) + QLatin1Char(')'));
    const QJsonObject root = document.object();
    LayoutDesign design;
    design.readPaper(root.value(QStringLiteral("paper")).toObject(), origin);
    design.readFonts(root.value(QStringLiteral("fonts")).toObject());
    const QJsonObject sections = root.value(QStringLiteral("sections")).toObject();
    for (auto it = sections.constBegin(); it != sections.constEnd(); ++it)
        design.m_sections.insert(it.key(), it.value().toBool(true));
    design.readItems(root.value(QStringLiteral("items")).toArray(), origin, {}, {}, {});
    return design;
}

void LayoutDesign::readPaper(const QJsonObject &paper, const QString &origin)
{
    const QString size = paper.value(QStringLiteral("size")).toString(QStringLiteral("A4"));
    if (!paperSizes().contains(size))
        throw ReportError(origin + QStringLiteral(": 不明な用紙サイズ ") + size);
    m_paper = paperSizes().value(size);
    const QString orientation = paper.value(QStringLiteral("orientation")).toString();
    m_orientation =
        orientation == QLatin1String("landscape") ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void LayoutDesign::readFonts(const QJsonObject &fonts)
{
    const Font base;
    const QJsonObject fallback = fonts.value(QStringLiteral("default")).toObject();
    for (auto it = fonts.constBegin(); it != fonts.constEnd(); ++it) {
        const QJsonObject f = it.value().toObject();
        Font font;
        font.family = f.value(QStringLiteral("family"))
                          .toString(fallback.value(QStringLiteral("family")).toString(base.family));
        font.size = f.value(QStringLiteral("size"))
                        .toDouble(fallback.value(QStringLiteral("size")).toDouble(base.size));
        font.bold = f.value(QStringLiteral("bold")).toBool(false);
        m_fonts.insert(it.key(), font);
    }
}

LayoutDesign::Font LayoutDesign::font(const QString &name) const
{
    return m_fonts.value(name, m_fonts.value(QStringLiteral("default"), Font()));
}

void LayoutDesign::readItems(const QJsonArray &items, const QString &origin, const QPointF &offset,
                             const QHash<QString, int> &indexes, const QString &section)
{
    for (const QJsonValue &value : items) {
        const QJsonObject object = value.toObject();
        const int repeat = object.value(QStringLiteral("repeat")).toInt(1);
        const int start = object.value(QStringLiteral("start")).toInt(1);
        const double dx = object.value(QStringLiteral("dx")).toDouble(0);
        const double dy = object.value(QStringLiteral("dy")).toDouble(0);
        const QString index = object.value(QStringLiteral("index")).toString();
        const bool group =
            object.value(QStringLiteral("type")).toString() == QLatin1String("group");
        const QString itemSection = object.value(QStringLiteral("section")).toString(section);
        for (int k = 0; k < repeat; ++k) {
            const QPointF at = offset + QPointF(k * dx, k * dy);
            QHash<QString, int> inner = indexes;
            // Without an index name a repeated item carries its number at the end of its name.
            const QString var = index.isEmpty() && object.contains(QStringLiteral("repeat"))
                                    ? QStringLiteral("#")
                                    : index;
            if (!var.isEmpty())
                inner.insert(var, start + k);
            if (group) {
                const QPointF groupAt = at + QPointF(object.value(QStringLiteral("x")).toDouble(0),
                                                     object.value(QStringLiteral("y")).toDouble(0));
                readItems(object.value(QStringLiteral("items")).toArray(), origin, groupAt, inner,
                          itemSection);
            } else {
                addItem(object, origin, at, inner, itemSection);
            }
        }
    }
}

void LayoutDesign::addItem(const QJsonObject &object, const QString &origin, const QPointF &offset,
                           const QHash<QString, int> &indexes, const QString &section)
{
    Item item;
    item.kind = kindOf(object.value(QStringLiteral("type")).toString(), origin);
    QString name = object.value(QStringLiteral("name")).toString();
    if (indexes.contains(QStringLiteral("#")) && !name.isEmpty())
        name += QString::number(indexes.value(QStringLiteral("#")));
    item.name = withIndexes(name, indexes);
    if (item.name.contains(QLatin1Char('{')))
        throw ReportError(origin + QStringLiteral(": 名前の番号が決まりません ") + item.name);
    if (item.kind == Kind::Field && item.name.isEmpty())
        throw ReportError(origin + QStringLiteral(": 名前のないフィールドがあります。"));
    if (!section.isEmpty() && !m_sections.contains(section))
        throw ReportError(origin + QStringLiteral(": 定義されていないセクション ") + section);
    item.section = section;
    item.rect = QRectF(offset.x() + object.value(QStringLiteral("x")).toDouble(),
                       offset.y() + object.value(QStringLiteral("y")).toDouble(),
                       object.value(QStringLiteral("w")).toDouble(),
                       object.value(QStringLiteral("h")).toDouble());
    item.text = withIndexes(object.value(QStringLiteral("text")).toString(), indexes);
    item.font = object.value(QStringLiteral("font")).toString(QStringLiteral("default"));
    item.align = alignOf(object.value(QStringLiteral("align")).toString());
    item.line = object.value(QStringLiteral("line"))
                    .toDouble(item.kind == Kind::Label || item.kind == Kind::Field ? 0.2 : 0.25);
    item.border = object.value(QStringLiteral("border")).toBool(false);
    item.dotted = object.value(QStringLiteral("style")).toString() == QLatin1String("dot");
    item.fill = colorOf(object, QStringLiteral("fill"), QColor());
    item.color = colorOf(object, QStringLiteral("color"), QColor(Qt::black));
    item.shown = object.value(QStringLiteral("visible")).toBool(true);

    if (item.kind == Kind::Field) {
        if (m_fields.contains(item.name))
            throw ReportError(origin + QStringLiteral(": フィールド名が重複しています ") +
                              item.name);
        m_fields.insert(item.name, int(m_items.size()));
    }
    if (!item.name.isEmpty())
        m_names[item.name] += 1;
    m_items.append(item);
}

QStringList LayoutDesign::fieldNames() const
{
    QStringList names = m_fields.keys();
    std::sort(names.begin(), names.end());
    return names;
}
