// Any text, parsed, with its report too, which must agree; whatever parses is laid out with
// made-up text metrics (characters of a fixed width, and text that takes no room at all), and
// every box the layout reports must be finite. Some are also laid out with the real fonts and
// painted into a cell-sized and a tiny box, on a plain and on a doubled-resolution image, and
// their links asked for. Pictures go through the built-in policy, which must never give a
// picture for anything but the program's resources: no caption may reach the file system or the
// network through an Image. The icon theme has no folders here, so icons read nothing either.
#include "gridgauge/markup/markup.h"
#include "layout_boxes.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Fontconfig keeps what it matched in caches that the leak checker cannot see through; what it
// allocates is the font library's, not the engine's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

// Every character as wide as half the font is high: wrapping and trimming without the cost of
// shaping, so that more texts get their turn.
class FixedMetrics : public gridgauge::markup::TextMeasurer {
public:
    gridgauge::markup::FontMetrics metrics(const QFont& font) const override {
        return {0.8 * size(font), 0.2 * size(font)};
    }
    double advance(const QFont& font, QStringView text) const override {
        return double(text.size()) * size(font) / 2;
    }

private:
    static double size(const QFont& font) {
        return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
    }
};

// Glyphs without width or height, as a font without them would give: nothing may divide by
// them.
class NoMetrics : public gridgauge::markup::TextMeasurer {
public:
    gridgauge::markup::FontMetrics metrics(const QFont&) const override { return {}; }
    double advance(const QFont&, QStringView) const override { return 0; }
};

// The built-in policy, asserted: a picture only from a resource.
class ResourcesOnly final : public gridgauge::markup::ImageResolver {
public:
    QImage resolve(const QString& source, const QSize& size) override {
        QImage picture = resolveBuiltIn(source, size);
        if (!picture.isNull() && !source.startsWith(u":/") && !source.startsWith(u"qrc:/"))
            std::abort();
        return picture;
    }
};

gridgauge::markup::HostStyle& host() {
    static ResourcesOnly resolver;
    static gridgauge::markup::HostStyle style = [] {
        gridgauge::markup::HostStyle s;
        s.setImageResolver(&resolver);
        s.setTextColor(Qt::darkGray);
        s.setLinkColor(Qt::darkBlue);
        return s;
    }();
    return style;
}

bool finite(const QRectF& r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

void checkFinite(const QList<gridgauge::markup::ElementBox>& boxes) {
    for (const gridgauge::markup::ElementBox& box : boxes) {
        if (!finite(box.bounds) || !finite(box.clip) || !finite(box.text))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_markup";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    gridgauge::markup::ParseReport report;
    const gridgauge::markup::DocumentPtr document = gridgauge::markup::parse(text, &report);
    if (bool(document) != report.error().isNull() ||
        report.ignoredCount() < report.ignored().size())
        std::abort();
    if (!report.error().isNull() && (report.error().line() < 1 || report.error().column() < 1))
        std::abort();
    if (bool(gridgauge::markup::parse(text)) != bool(document))
        std::abort();
    if (!document)
        return 0;
    (void)gridgauge::markup::textContent(*document);
    const QFont font;
    gridgauge::markup::ImageResolver* pictures = host().imageResolver();
    checkFinite(gridgauge::markup::layoutBoxes(*document, QSizeF(qreal(size % 53), 18), font,
                                               FixedMetrics(), pictures));
    checkFinite(gridgauge::markup::layoutBoxes(*document, QSizeF(qreal(size % 31), 9), font,
                                               NoMetrics(), pictures));

    // Shaping text with real fonts costs many times the rest: one input in eight, chosen by its
    // length so that a run repeats, is also laid out with the fonts and painted.
    if (size % 8 != 0)
        return 0;
    // Qt trims its font caches from timer events, as in a running program between repaints.
    QCoreApplication::processEvents();
    static QImage plain(100, 20, QImage::Format_ARGB32_Premultiplied);
    static QImage doubled = [] {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        return image;
    }();
    {
        QPainter painter(&plain);
        gridgauge::markup::render(painter, *document, QRectF(2, 1, 96, 18), font, Qt::LeftToRight,
                                  host());
    }
    {
        // The size varies with the input so that small and degenerate boxes get their turn.
        const qreal width = qreal(size % 23) - 3;
        const qreal height = qreal(size / 8 % 7) * 2.5 - 1;
        QPainter painter(&doubled);
        gridgauge::markup::Drawing drawing(document);
        drawing.paint(painter, QRectF(0.5, 1, width, height), font, Qt::LeftToRight, host());
        drawing.paint(painter, QRectF(0.5, 1, width, height), font, Qt::RightToLeft,
                      host()); // the layout kept
        for (const gridgauge::markup::Link& link : drawing.links()) {
            for (const QRectF& rect : link.rects()) {
                if (!finite(rect))
                    std::abort();
            }
        }
        (void)drawing.linkAt(QPointF(width / 2, height / 2));
    }
    return 0;
}
