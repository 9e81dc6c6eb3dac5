#pragma once

// A grid with a little of everything, shared by the grid's test programs: four resizable columns
// of 100 pixels, a dozen rows, two buttons in row 1, a check box in row 2 and a few captions.

#include "grid/grid_control.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPointer>
#include <QRegion>
#include <QStringList>
#include <QTest>

#include <memory>

namespace gridtest {

constexpr int Columns = 4;
constexpr int Records = 12;
constexpr int ColumnWidth = 100;

inline void fill(report::Grid& grid, int records = Records) {
    for (int c = 0; c < Columns; ++c)
        grid.columns().add(c, QStringLiteral("Head %1").arg(c), ColumnWidth, true);
    for (int r = 0; r < records; ++r) {
        report::Record record = grid.records().add();
        for (int i = 0; i < Columns; ++i)
            record.addItem(QString());
    }
    grid.rebuild();
    if (records < 3)
        return;
    report::ItemControl add = grid.rows().row(1).record().item(0).itemControls().add(7);
    add.setCaption(QStringLiteral("Add"));
    report::ItemControl remove = grid.rows().row(1).record().item(2).itemControls().add(8);
    remove.setCaption(QStringLiteral("Remove"));
    report::Item box = grid.rows().row(2).record().item(2);
    box.setHasCheckBox(true);
    box.setCaption(QStringLiteral("Tick"));
    grid.rows().row(0).record().item(3).setCaption(QStringLiteral("First caption"));
    grid.rows().row(1).record().item(3).setCaption(QStringLiteral("Second caption"));
    grid.rebuild();
}

// A shown, filled grid in a top-level window of its own.
struct Shown {
    explicit Shown(QSize size = QSize(460, 300), int records = Records)
        : grid(std::make_unique<report::Grid>()) {
        grid->setGridLinesVisible(true);
        fill(*grid, records);
        grid->resize(size);
        grid->show();
        if (!QTest::qWaitForWindowExposed(grid.get()))
            qFatal("grid window not exposed");
    }
    QWidget* viewport() const { return grid->viewport(); }
    // What painted in the viewport, in the grid's own coordinates.
    QRegion inGrid(const QRegion& painted) const { return painted.translated(viewport()->pos()); }
    // Where the cells show, in the grid's own coordinates.
    QRect body() const { return viewport()->geometry(); }
    // The band above the viewport that holds the header.
    QWidget* header() const { return grid->findChild<QWidget*>(QStringLiteral("header")); }
    // The centre of the cell (row, item), in viewport coordinates.
    QPoint centre(int row, int item) const {
        qint32 l = 0, t = 0, r = 0, b = 0;
        grid->rows().row(row).itemBounds(grid->rows().row(row).record().item(item), l, t, r, b);
        return QPoint((l + r) / 2, (t + b) / 2);
    }
    QRect bounds(int row, int item) const {
        qint32 l = 0, t = 0, r = 0, b = 0;
        grid->rows().row(row).itemBounds(grid->rows().row(row).record().item(item), l, t, r, b);
        return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
    }
    std::unique_ptr<report::Grid> grid;
};

// The grid as the pointer meets it: points in the grid's own coordinates, delivered to its
// top-level window at window coordinates for Qt to route to whatever lies there.
struct Pointer {
    QWidget* grid;
    QWindow* window() const { return grid->window()->windowHandle(); }
    QPoint at(const QPoint& p) const { return grid->mapTo(grid->window(), p); }
};
inline Pointer pointer(const Shown& shown) {
    return {shown.grid.get()};
}
inline Pointer pointer(QWidget& grid) {
    return {&grid};
}
inline void mousePress(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mousePress(p.window(), b, m, p.at(at));
}
inline void mouseRelease(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseRelease(p.window(), b, m, p.at(at));
}
inline void mouseClick(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseClick(p.window(), b, m, p.at(at));
}
inline void mouseDClick(Pointer p, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseDClick(p.window(), b, m, p.at(at));
}
inline void mouseMove(Pointer p, QPoint at) {
    QTest::mouseMove(p.window(), p.at(at));
}

// The widget as painted at one image pixel per device-independent pixel, whatever the screen's
// scale, so that pixel checks can use grid coordinates.
inline QImage shot(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    widget.render(&image);
    return image;
}

// What a widget painted: each paint event's region, in order, in the coordinates of frame (the
// widget's own without one).
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget, QWidget* frame = nullptr)
        : widget_(widget)
        , frame_(frame) {
        widget->installEventFilter(this);
    }
    ~PaintRecorder() override {
        if (widget_)
            widget_->removeEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            regions << (frame_ ? region.translated(widget_->mapTo(frame_, QPoint())) : region);
        }
        return false;
    }
    int paints() const { return int(regions.size()); }
    // Everything painted, as one region.
    QRegion painted() const {
        QRegion all;
        for (const QRegion& region : regions)
            all += region;
        return all;
    }
    QList<QRegion> regions;

private:
    QPointer<QWidget> widget_;
    QPointer<QWidget> frame_;
};

// Lets the event loop deliver every scheduled repaint.
inline void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

// Every event the grid raises, in order, as text.
struct Recorder {
    explicit Recorder(report::Grid& grid) {
        QObject::connect(&grid, &report::Grid::mouseDown,
                         [this](qint16 b, qint16 s, qint32 x, qint32 y) {
                             log << QStringLiteral("press %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
                         });
        QObject::connect(&grid, &report::Grid::mouseMove,
                         [this](qint16 b, qint16 s, qint32 x, qint32 y) {
                             log << QStringLiteral("move %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
                         });
        QObject::connect(&grid, &report::Grid::itemCheck,
                         [this](const report::Row& row, const report::Item& item) {
                             log << QStringLiteral("check %1 %2 %3")
                                        .arg(row.index())
                                        .arg(item.index())
                                        .arg(item.checked() ? 1 : 0);
                         });
        QObject::connect(&grid, &report::Grid::itemButtonClicked,
                         [this](const report::Row& row, const report::Item& item,
                                const report::ItemControl& control) {
                             log << QStringLiteral("click %1 %2 %3")
                                        .arg(row.index())
                                        .arg(item.index())
                                        .arg(control.id());
                         });
        QObject::connect(&grid, &report::Grid::viewScrolled,
                         [this] { log << QStringLiteral("scrolled"); });
        QObject::connect(
            &grid, &report::Grid::columnWidthChanged,
            [this](const report::Column& column, qint32 from, qint32 to) {
                log << QStringLiteral("width %1 %2 %3").arg(column.index()).arg(from).arg(to);
            });
    }
    // The log without the moves, which many tests do not care about.
    QStringList withoutMoves() const {
        QStringList kept;
        for (const QString& line : log) {
            if (!line.startsWith(QLatin1String("move")))
                kept << line;
        }
        return kept;
    }
    QStringList log;
};

} // namespace gridtest
