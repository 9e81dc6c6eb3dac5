#include "properties.h"

#include "values.h"

#include <algorithm>
#include <cmath>

namespace markup::properties {
namespace {

int addSolidBrush(Document& document, const QColor& color) {
    Brush brush;
    brush.color = color;
    document.brushes.push_back(brush);
    return int(document.brushes.size()) - 1;
}

template <typename T, typename Reader> void set(T& target, QStringView value, Reader reader) {
    if (const auto v = reader(value))
        target = *v;
}

// A brush written as a colour.
void setColor(Document& document, int& brush, QStringView value) {
    if (const auto color = values::color(value))
        brush = addSolidBrush(document, *color);
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto channel = [t](float x, float y) { return x + (y - x) * float(t); };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()), channel(a.alphaF(), b.alphaF()));
}

// stops is sorted by offset.
QColor colorAt(const std::vector<GradientStop>& stops, double t) {
    if (t <= stops.front().offset)
        return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t < stops[i].offset) {
            const GradientStop& a = stops[i - 1];
            const GradientStop& b = stops[i];
            return mix(a.color, b.color, (t - a.offset) / (b.offset - a.offset));
        }
    }
    return stops.back().color;
}

// Readers with their options given, for set().
std::optional<double> length(QStringView text) {
    return values::length(text);
}
std::optional<double> lengthOrAuto(QStringView text) {
    return values::length(text, true);
}
std::optional<Thickness> thickness(QStringView text) {
    return values::thickness(text);
}
std::optional<Thickness> margin(QStringView text) {
    return values::thickness(text, true);
}

// What every element has: its size and limits, margin, alignment, visibility, flow direction,
// opacity and place in a Grid. Returns whether name is one of them.
bool applyToLayout(Element& e, QStringView name, QStringView value) {
    if (name == u"Width")
        set(e.width, value, lengthOrAuto);
    else if (name == u"Height")
        set(e.height, value, lengthOrAuto);
    else if (name == u"MinWidth")
        set(e.minWidth, value, length);
    else if (name == u"MinHeight")
        set(e.minHeight, value, length);
    else if (name == u"MaxWidth")
        set(e.maxWidth, value, length);
    else if (name == u"MaxHeight")
        set(e.maxHeight, value, length);
    else if (name == u"Margin")
        set(e.margin, value, margin);
    else if (name == u"HorizontalAlignment")
        set(e.horizontal, value, values::horizontalAlignment);
    else if (name == u"VerticalAlignment")
        set(e.vertical, value, values::verticalAlignment);
    else if (name == u"Visibility")
        set(e.visibility, value, values::visibility);
    else if (name == u"FlowDirection")
        set(e.flow, value, values::flowDirection);
    else if (name == u"Opacity")
        set(e.opacity, value, values::opacity);
    else if (name == u"Grid.Row")
        set(e.row, value, values::index);
    else if (name == u"Grid.Column")
        set(e.column, value, values::index);
    else if (name == u"Grid.RowSpan")
        set(e.rowSpan, value, values::span);
    else if (name == u"Grid.ColumnSpan")
        set(e.columnSpan, value, values::span);
    else if (name == u"DockPanel.Dock")
        set(e.dock, value, values::dock);
    else if (name == u"Canvas.Left")
        set(e.canvasLeft, value, values::offset);
    else if (name == u"Canvas.Top")
        set(e.canvasTop, value, values::offset);
    else if (name == u"Canvas.Right")
        set(e.canvasRight, value, values::offset);
    else if (name == u"Canvas.Bottom")
        set(e.canvasBottom, value, values::offset);
    else
        return false;
    return true;
}

// Rectangle and Ellipse: Fill and Stroke are their Background and BorderBrush.
void applyToShape(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Fill")
        setColor(document, e.background, value);
    else if (name == u"Stroke")
        setColor(document, e.borderBrush, value);
    else if (name == u"StrokeThickness") {
        // A negative thickness draws as its magnitude, as the platform's shapes do.
        if (const auto t = values::signedLength(value))
            e.strokeThickness = std::abs(*t);
    } else if (name == u"Stretch")
        set(e.stretch, value, values::stretch);
    else if (e.kind == ElementKind::Rectangle && name == u"RadiusX")
        set(e.radiusX, value, length);
    else if (e.kind == ElementKind::Rectangle && name == u"RadiusY")
        set(e.radiusY, value, length);
}

void applyToBorder(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Padding")
        set(e.padding, value, thickness);
    else if (name == u"BorderThickness")
        set(e.border, value, thickness);
    else if (name == u"CornerRadius")
        set(e.corners, value, values::cornerRadius);
    else if (name == u"BorderBrush")
        setColor(document, e.borderBrush, value);
}

void applyToTextBlock(Document& document, Element& e, QStringView name, QStringView value) {
    if (name == u"Padding")
        set(e.padding, value, thickness);
    else if (name == u"TextAlignment")
        set(e.textAlignment, value, values::textAlignment);
    else if (name == u"TextWrapping")
        set(e.wrapping, value, values::wrapping);
    else if (name == u"TextTrimming")
        set(e.trimming, value, values::trimming);
    else
        applyToTextStyle(document, e.text, name, value);
}

} // namespace

void applyToElement(Document& document, int index, QStringView name, QStringView value) {
    Element& e = document.elements[size_t(index)];
    if (applyToLayout(e, name, value))
        return;
    const bool shape = e.kind == ElementKind::Rectangle || e.kind == ElementKind::Ellipse;
    if (name == u"Background" && !shape) // a shape's is its Fill
        return setColor(document, e.background, value);
    switch (e.kind) {
    case ElementKind::Rectangle:
    case ElementKind::Ellipse:
        return applyToShape(document, e, name, value);
    case ElementKind::Border:
        return applyToBorder(document, e, name, value);
    case ElementKind::StackPanel:
        if (name == u"Orientation")
            set(e.orientation, value, values::orientation);
        return;
    case ElementKind::TextBlock:
        return applyToTextBlock(document, e, name, value);
    case ElementKind::WrapPanel:
        if (name == u"Orientation")
            set(e.orientation, value, values::orientation);
        else if (name == u"ItemWidth")
            set(e.itemWidth, value, lengthOrAuto);
        else if (name == u"ItemHeight")
            set(e.itemHeight, value, lengthOrAuto);
        return;
    case ElementKind::DockPanel:
        if (name == u"LastChildFill")
            set(e.lastChildFill, value, values::boolean);
        return;
    case ElementKind::Grid:
    case ElementKind::Canvas:
        return;
    }
}

void applyToTextStyle(Document& document, TextStyle& style, QStringView name, QStringView value) {
    if (name == u"FontWeight")
        set(style.weight, value, values::fontWeight);
    else if (name == u"FontStyle") {
        if (const auto fontStyle = values::fontStyle(value))
            style.style = qint8(*fontStyle);
    } else if (name == u"FontSize")
        set(style.size, value, values::fontSize);
    else if (name == u"FontFamily") {
        if (auto families = values::fontFamily(value)) {
            style.family = int(document.families.size());
            document.families.push_back(std::move(*families));
        }
    } else if (name == u"TextDecorations")
        set(style.decorations, value, values::decorations);
    else if (name == u"Foreground")
        setColor(document, style.foreground, value);
}

void applyToBrush(Brush& brush, QStringView name, QStringView value) {
    const auto point = [](QStringView v) { return values::point(v); };
    if (name == u"Opacity")
        set(brush.opacity, value, values::opacity);
    else if (brush.kind == Brush::Kind::Solid) {
        if (name == u"Color")
            set(brush.color, value, values::color);
    } else if (name == u"MappingMode")
        set(brush.absolute, value, values::absoluteMapping);
    else if (brush.kind == Brush::Kind::LinearGradient) {
        if (name == u"StartPoint")
            set(brush.start, value, point);
        else if (name == u"EndPoint")
            set(brush.end, value, point);
    } else if (name == u"Center")
        set(brush.center, value, point);
    else if (name == u"GradientOrigin")
        set(brush.origin, value, point);
    else if (name == u"RadiusX" || name == u"RadiusY") {
        const auto radius = values::number(value);
        if (radius && std::isfinite(*radius))
            (name == u"RadiusX" ? brush.radiusX : brush.radiusY) =
                std::clamp(*radius, 0.0, kMaxLength);
    }
}

void applyToStop(GradientStop& stop, QStringView name, QStringView value) {
    if (name == u"Color")
        set(stop.color, value, values::color);
    else if (name == u"Offset") {
        if (const auto offset = values::number(value); offset && std::isfinite(*offset))
            stop.offset = *offset;
    }
}

void applyToDefinition(Definition& definition, bool row, QStringView name, QStringView value) {
    if (name == (row ? u"Height" : u"Width")) {
        if (const auto size = values::gridLength(value)) {
            definition.unit = size->unit;
            definition.value = size->value;
        }
    } else if (name == (row ? u"MinHeight" : u"MinWidth"))
        set(definition.min, value, length);
    else if (name == (row ? u"MaxHeight" : u"MaxWidth"))
        set(definition.max, value, length);
}

void finishGradient(Brush& brush, std::vector<GradientStop>& stops) {
    brush.stops.clear();
    if (stops.empty())
        return;
    const auto byOffset = [](const GradientStop& a, const GradientStop& b) {
        return a.offset < b.offset;
    };
    // Stops are nearly always written in order; sorting them anyway costs an allocation.
    if (!std::is_sorted(stops.begin(), stops.end(), byOffset))
        std::stable_sort(stops.begin(), stops.end(), byOffset);
    const bool below = stops.front().offset < 0;
    const bool above = stops.back().offset > 1;
    if (below)
        brush.stops.append({0.0, withOpacity(colorAt(stops, 0), brush.opacity)});
    for (const GradientStop& stop : stops) {
        if (stop.offset >= 0 && stop.offset <= 1)
            brush.stops.append({stop.offset, withOpacity(stop.color, brush.opacity)});
    }
    if (above)
        brush.stops.append({1.0, withOpacity(colorAt(stops, 1), brush.opacity)});
}

void finishSolid(Brush& brush) {
    brush.color = withOpacity(brush.color, brush.opacity);
}

} // namespace markup::properties
