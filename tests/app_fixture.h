#pragma once

// Starting the real frmMain in a test, and reaching its cells.
#include "app/startup.h"
#include "frm_main_probe.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/controlkit.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/timer.h"

#include <QTest>

#include <memory>

namespace app_fixture {

inline void registerControlsOnce() {
    static const bool registered = [] {
        ::registerControls();
        return true;
    }();
    Q_UNUSED(registered);
}

// Loaded and shown; with settle, also past the first refresh. Without it, no event has been
// handled since the window was shown, so the first refresh cannot have run, however slow the
// machine: its tick comes through the event loop.
inline std::unique_ptr<frmMain> start(bool settle = true) {
    registerControlsOnce();
    auto f = std::make_unique<frmMain>();
    f->load();
    f->show();
    if (!settle)
        return f;
    if (!QTest::qWaitForWindowExposed(f.get()))
        qWarning("window not exposed");
    if (!QTest::qWaitFor([&] { return !f->Timer1->enabled(); }, 5000))
        qWarning("the first refresh did not come");
    return f;
}

inline report::Item item(const frmMain& f, int row, int index) {
    return f.wndReportControlData->rows().row(row).record().item(index);
}

inline QString caption(const frmMain& f, int row, int index) {
    return item(f, row, index).caption();
}

inline QRect cell(const frmMain& f, int row, int index) {
    qint32 l = 0, t = 0, r = 0, b = 0;
    const report::Row handle = f.wndReportControlData->rows().row(row);
    handle.itemBounds(handle.record().item(index), l, t, r, b);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

inline QWidget* surface(const frmMain& f) {
    return f.wndReportControlData->viewport();
}

// A point of the grid's client area (where cells, item bounds and the grid's mouse events are),
// in the window's coordinates.
inline QPoint inWindow(const frmMain& f, const QPoint& p) {
    return f.wndReportControlData->mapTo(&f, p);
}

// The grid as the pointer meets it: points of its client area, delivered to the top-level window
// at window coordinates for Qt to route to whatever lies there, as a real pointer's are.
struct Pointer {
    frmMain& f;
};
inline Pointer pointer(frmMain& f) {
    return {f};
}
inline void mousePress(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mousePress(p.f.windowHandle(), b, m, inWindow(p.f, at));
}
inline void mouseRelease(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseRelease(p.f.windowHandle(), b, m, inWindow(p.f, at));
}
inline void mouseClick(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseClick(p.f.windowHandle(), b, m, inWindow(p.f, at));
}
inline void mouseMove(Pointer p, QPoint at) {
    QTest::mouseMove(p.f.windowHandle(), inWindow(p.f, at));
}

// What painted in the viewport, in the grid's client area.
inline QRegion inGrid(const frmMain& f, const QRegion& viewport) {
    return viewport.translated(surface(f)->pos());
}

// The widget as painted, one pixel per device-independent pixel whatever the screen's scale (each
// the device pixel at its top left), so that pixel checks can use window coordinates.
inline QImage shot(QWidget& widget) {
    const QImage grabbed = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = grabbed.devicePixelRatio();
    if (ratio == 1)
        return grabbed;
    QImage image(widget.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, grabbed.pixel(int(x * ratio), int(y * ratio)));
    }
    return image;
}

// The window as painted, and as painted without ProgressBar1: where they differ, the bar shows.
inline QRegion barPixels(frmMain& f) {
    const QImage with = shot(f);
    f.ProgressBar1->hide();
    const QImage without = shot(f);
    f.ProgressBar1->show();
    QRegion shown;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) != without.pixel(x, y))
                shown += QRect(x, y, 1, 1);
        }
    }
    return shown;
}

// Runs the event loop until the armed refresh has run.
inline bool settle(const frmMain& f) {
    return QTest::qWaitFor([&] { return !f.Timer1->enabled(); }, 5000);
}

} // namespace app_fixture
