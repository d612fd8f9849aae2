// A report layout file (sys_crf/cor_*.crf) read into drawable items. The file is JSON, all
// lengths in millimetres from the paper's top-left corner:
//
//   {
//     "paper": {"size": "A4", "orientation": "landscape"},
//     "fonts": {"default": {"family": "Noto Sans CJK JP", "size": 9},
//               "title": {"size": 18, "bold": true}},
//     "sections": {"Footer": true},               // name -> shown when the layout opens
//     "items": [
//       {"type": "label", "text": "受注情報", "x": 10, "y": 8, "w": 80, "h": 10, "font": "title"},
//       {"type": "frame", "x": 10, "y": 20, "w": 277, "h": 8, "line": 0.3, "fill": "#eeeeee"},
//       {"type": "rule", "x": 10, "y": 40, "w": 277, "line": 0.1, "style": "dot"},
//       {"type": "field", "name": "LotNo", "x": 10, "y": 40, "w": 30, "h": 5.2,
//        "repeat": 29, "dy": 5.2, "align": "left", "section": "Data_Header"},
//       {"type": "group", "repeat": 7, "dy": 38, "index": "b",
//        "items": [{"type": "frame", "name": "Waku{b}", ...}]}
//     ]
//   }
//
// A repeated item without "index" gets its number appended to its name (LotNo1 … LotNo29);
// with "index": "j" the number replaces "{j}" in the names below it. "start" sets the first
// number (default 1); a label's text may show it too ("{#}" for the item's own number). A
// rule runs from (x, y) over w or h. Labels and fields take "border", "fill", "align" and
// "font"; lines take "line" (mm) and "color". Fields take values by name; any named item can
// be hidden and shown (several items may share a name); an item in a section prints only
// while the section is shown. Fonts fall back to "default", the default to Noto Sans CJK JP
// 9 pt.
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

class QJsonArray;
class QJsonObject;

class LayoutDesign {
public:
    enum class Kind { Label, Field, Frame, Rule };
    enum class Align { Left, Center, Right };

    struct Font {
        QString family = QStringLiteral("Noto Sans CJK JP");
        double size = 9.0; // points
        bool bold = false;
    };

    struct Item {
        Kind kind = Kind::Label;
        QString name;    // field name, or the name a frame/rule/label is shown and hidden by
        QString section; // empty: always printed
        QRectF rect;     // mm; for a rule the start point and the run (w or h)
        QString text;    // a label's text
        QString font = QStringLiteral("default");
        Align align = Align::Left;
        double line = 0.2;   // pen width in mm; 0 = no border
        bool border = false; // labels and fields: draw the rectangle round the text
        bool dotted = false;
        QColor fill;  // invalid: no fill
        QColor color; // text and pen colour
        bool shown = true;
    };

    // Reads a layout file; throws ReportError naming the file and the problem.
    static LayoutDesign load(const QString &path);
    static LayoutDesign fromJson(const QByteArray &json, const QString &origin);

    QPageSize::PageSizeId paperSize() const { return m_paper; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    const QList<Item> &items() const { return m_items; }
    Font font(const QString &name) const;

    bool hasField(const QString &name) const { return m_fields.contains(name); }
    bool hasName(const QString &name) const { return m_names.contains(name); }
    bool hasSection(const QString &name) const { return m_sections.contains(name); }
    bool sectionShownAtOpen(const QString &name) const { return m_sections.value(name, true); }
    QStringList sectionNames() const { return m_sections.keys(); }
    QStringList fieldNames() const;

private:
    void readPaper(const QJsonObject &paper, const QString &origin);
    void readFonts(const QJsonObject &fonts);
    void readItems(const QJsonArray &items, const QString &origin, const QPointF &offset,
                   const QHash<QString, int> &indexes, const QString &section);
    void addItem(const QJsonObject &object, const QString &origin, const QPointF &offset,
                 const QHash<QString, int> &indexes, const QString &section);

    QPageSize::PageSizeId m_paper = QPageSize::A4;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QHash<QString, Font> m_fonts;
    QHash<QString, bool> m_sections;
    QList<Item> m_items;
    QHash<QString, int> m_fields; // field name -> index in m_items
    QHash<QString, int> m_names;  // every item name -> how many items carry it
};
