#pragma once

// How the layout learns the size of text. Everything the engine knows of fonts comes through this
// small interface, so that a layout can be worked out with made-up metrics, whatever fonts the
// machine has.

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <optional>

class QPaintDevice;

namespace gridgauge::markup {

struct FontMetrics {
    double ascent = 0;
    double descent = 0;
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual FontMetrics metrics(const QFont& font) const = 0;
    virtual double advance(const QFont& font, QStringView text) const = 0;
    // Of the device the text is painted on: a FontSize with a fraction can only be given to a
    // QFont in points.
    virtual double dotsPerInch() const { return 96; }
};

// The font engine's own measures, at the resolution of device, or when it is null of an image,
// which Qt gives the primary screen's logical resolution.
class FontEngineMeasurer final : public TextMeasurer {
public:
    explicit FontEngineMeasurer(const QPaintDevice* device = nullptr);
    FontMetrics metrics(const QFont& font) const override;
    double advance(const QFont& font, QStringView text) const override;
    double dotsPerInch() const override;

private:
    const QFontMetricsF& metricsOf(const QFont& font) const;

    const QPaintDevice* device_;
    // A run is measured for its height and then its width: one QFontMetricsF serves both.
    mutable QFont font_;
    mutable std::optional<QFontMetricsF> metrics_;
};

} // namespace gridgauge::markup
