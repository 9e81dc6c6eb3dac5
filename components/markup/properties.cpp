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

} // namespace

void applyToElement(Document& document, int index, QStringView name, QStringView value) {
    Element& e = document.elements[size_t(index)];
    if (name == u"Width")
        set(e.width, value, [](QStringView v) { return values::length(v, true); });
    else if (name == u"Height")
        set(e.height, value, [](QStringView v) { return values::length(v, true); });
    else if (name == u"MinWidth")
        set(e.minWidth, value, [](QStringView v) { return values::length(v); });
    else if (name == u"MinHeight")
        set(e.minHeight, value, [](QStringView v) { return values::length(v); });
    else if (name == u"MaxWidth")
        set(e.maxWidth, value, [](QStringView v) { return values::length(v); });
    else if (name == u"MaxHeight")
        set(e.maxHeight, value, [](QStringView v) { return values::length(v); });
    else if (name == u"Margin")
        set(e.margin, value, values::thickness);
    else if (name == u"HorizontalAlignment")
        set(e.horizontal, value, values::horizontalAlignment);
    else if (name == u"VerticalAlignment")
        set(e.vertical, value, values::verticalAlignment);
    else if (name == u"Grid.Column")
        set(e.column, value, values::index);
    else if (name == u"Background") {
        if (const auto color = values::color(value))
            e.background = addSolidBrush(document, *color);
    } else if (e.kind == ElementKind::Border) {
        if (name == u"Padding")
            set(e.padding, value, values::thickness);
        else if (name == u"BorderThickness")
            set(e.border, value, values::thickness);
        else if (name == u"CornerRadius")
            set(e.corners, value, values::cornerRadius);
        else if (name == u"BorderBrush") {
            if (const auto color = values::color(value))
                e.borderBrush = addSolidBrush(document, *color);
        }
    } else if (e.kind == ElementKind::StackPanel) {
        if (name == u"Orientation")
            set(e.orientation, value, values::orientation);
    } else if (e.kind == ElementKind::TextBlock) {
        if (name == u"Padding")
            set(e.padding, value, values::thickness);
        else if (name == u"TextAlignment")
            set(e.textAlignment, value, values::textAlignment);
        else
            applyToTextStyle(document, e.text, name, value);
    }
}

void applyToTextStyle(Document& document, TextStyle& style, QStringView name, QStringView value) {
    if (name == u"FontWeight")
        set(style.weight, value, values::fontWeight);
    else if (name == u"FontStyle") {
        if (const auto italic = values::italic(value))
            style.italic = *italic ? 1 : 0;
    } else if (name == u"FontSize")
        set(style.size, value, values::fontSize);
    else if (name == u"Foreground") {
        if (const auto color = values::color(value))
            style.foreground = addSolidBrush(document, *color);
    }
}

void applyToBrush(Brush& brush, QStringView name, QStringView value) {
    if (name == u"Opacity") {
        if (const auto opacity = values::number(value); opacity && std::isfinite(*opacity))
            brush.opacity = std::clamp(*opacity, 0.0, 1.0);
    } else if (brush.kind == Brush::Kind::Solid) {
        if (name == u"Color")
            set(brush.color, value, values::color);
    } else if (name == u"StartPoint")
        set(brush.start, value, values::point);
    else if (name == u"EndPoint")
        set(brush.end, value, values::point);
}

void applyToStop(GradientStop& stop, QStringView name, QStringView value) {
    if (name == u"Color")
        set(stop.color, value, values::color);
    else if (name == u"Offset") {
        if (const auto offset = values::number(value); offset && std::isfinite(*offset))
            stop.offset = *offset;
    }
}

void applyToColumn(ColumnDefinition& column, QStringView name, QStringView value) {
    if (name == u"Width") {
        if (const auto width = values::gridLength(value)) {
            column.unit = width->unit;
            column.value = width->value;
        }
    } else if (name == u"MinWidth")
        set(column.minWidth, value, [](QStringView v) { return values::length(v); });
    else if (name == u"MaxWidth")
        set(column.maxWidth, value, [](QStringView v) { return values::length(v); });
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
