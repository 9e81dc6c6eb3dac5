#pragma once

// The parsed form of a caption: flat tables the parser fills once and the layout and the painter
// only read. Elements are stored in document order (a parent before its children, siblings in
// the order written), which is also the order they are painted in.

#include "markup.h"

#include <QColor>
#include <QFont>
#include <QGradient>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <limits>
#include <memory>
#include <vector>

namespace markup {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Width and Height left unset (or "Auto") size to content.
constexpr double kAuto = std::numeric_limits<double>::quiet_NaN();
// No caption is a million pixels wide; clamping every length to this keeps all sums in the layout
// finite, so no infinity minus infinity can reach the painter.
constexpr double kMaxLength = 1e6;
// Deeper documents are refused by the parser, so the layout may recurse without a stack worry.
constexpr int kMaxDepth = 256;

struct Thickness {
    double left = 0, top = 0, right = 0, bottom = 0;
    double horizontal() const { return left + right; }
    double vertical() const { return top + bottom; }
    bool isZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct CornerRadius {
    double topLeft = 0, topRight = 0, bottomRight = 0, bottomLeft = 0;
    bool isZero() const {
        return topLeft == 0 && topRight == 0 && bottomRight == 0 && bottomLeft == 0;
    }
};

// Start is Left or Top, End is Right or Bottom.
enum class Align : quint8 { Stretch, Start, Center, End };
enum class Orientation : quint8 { Vertical, Horizontal };

struct GradientStop {
    QColor color = QColor(0, 0, 0, 0);
    double offset = 0;
};

struct Brush {
    enum class Kind : quint8 { Solid, LinearGradient };
    Kind kind = Kind::Solid;
    QColor color = QColor(0, 0, 0, 0);
    // Relative to the box the brush fills: (0,0) its top-left, (1,1) its bottom-right.
    QPointF start{0, 0};
    QPointF end{1, 1};
    double opacity = 1;
    // Sorted, confined to [0, 1] and with the opacity applied, once the document is complete.
    QGradientStops stops;
};

struct ColumnDefinition {
    enum class Unit : quint8 { Pixel, Auto, Star };
    Unit unit = Unit::Star;
    double value = 1; // pixels, or the star weight
    double minWidth = 0;
    double maxWidth = kInfinity;
};

// Unset members inherit: from the enclosing inline, the TextBlock, and finally the host font.
struct TextStyle {
    int weight = -1;
    qint8 italic = -1;
    double size = kAuto;
    int foreground = -1; // brush index; -1 is the TextBlock's foreground
    bool operator==(const TextStyle&) const = default;
};

struct Run {
    QString text;
    TextStyle style;
};

struct Element {
    ElementKind kind = ElementKind::Border;
    int parent = -1;
    int firstChild = -1;
    int lastChild = -1;
    int nextSibling = -1;

    double width = kAuto, height = kAuto;
    double minWidth = 0, minHeight = 0;
    double maxWidth = kInfinity, maxHeight = kInfinity;
    Thickness margin, padding, border;
    CornerRadius corners;
    Align horizontal = Align::Stretch, vertical = Align::Stretch;
    Orientation orientation = Orientation::Vertical;
    int column = 0;
    int background = -1;
    int borderBrush = -1;

    int firstColumn = 0, columnCount = 0; // Grid: its slice of Document::columns
    TextStyle text;                       // TextBlock: what its runs inherit
    Align textAlignment = Align::Start;   // TextBlock
    int firstRun = 0, runCount = 0;       // TextBlock: its slice of Document::runs
};

class Document {
public:
    std::vector<Element> elements; // [0] is the root
    std::vector<Brush> brushes;
    std::vector<ColumnDefinition> columns;
    std::vector<Run> runs;
};

} // namespace markup
