#include "text_measurer.h"

#include <QImage>

namespace gridgauge::markup {
namespace {

// The resolution text is measured at when no device is named; an image's, as on most captions.
const QPaintDevice& defaultDevice() {
    static const QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    return image;
}

} // namespace

FontEngineMeasurer::FontEngineMeasurer(const QPaintDevice* device)
    : device_(device ? device : &defaultDevice()) {}

const QFontMetricsF& FontEngineMeasurer::metricsOf(const QFont& font) const {
    if (!metrics_ || !font_.isCopyOf(font)) {
        font_ = font;
        metrics_.emplace(font, device_);
    }
    return *metrics_;
}

FontMetrics FontEngineMeasurer::metrics(const QFont& font) const {
    const QFontMetricsF& m = metricsOf(font);
    return {m.ascent(), m.descent()};
}

double FontEngineMeasurer::advance(const QFont& font, QStringView text) const {
    // Raw data: the view is measured where it lies, without a copy.
    return metricsOf(font).horizontalAdvance(QString::fromRawData(text.data(), text.size()));
}

double FontEngineMeasurer::dotsPerInch() const {
    return device_->logicalDpiY();
}

} // namespace gridgauge::markup
