// Any text, parsed; whatever parses is laid out and painted into a cell-sized and a tiny box, on
// a plain and on a doubled-resolution image.
#include "markup/markup.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

// Fontconfig keeps what it matched in caches that the leak checker cannot see through; what it
// allocates is the font library's, not the engine's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_markup";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const markup::DocumentPtr document = markup::parse(text);
    if (!document)
        return 0;
    (void)markup::textContent(*document);

    static QImage plain(100, 20, QImage::Format_ARGB32_Premultiplied);
    static QImage doubled = [] {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        return image;
    }();
    const QFont font;
    {
        QPainter painter(&plain);
        markup::render(painter, *document, QRectF(2, 1, 96, 18), font);
    }
    {
        // The size varies with the input so that small and degenerate boxes get their turn.
        const qreal width = qreal(size % 23) - 3;
        const qreal height = qreal(size % 7) * 2.5 - 1;
        QPainter painter(&doubled);
        markup::render(painter, *document, QRectF(0.5, 1, width, height), font);
        markup::render(painter, *document, QRectF(0.5, 1, width, height), font); // cached layout
    }
    return 0;
}
