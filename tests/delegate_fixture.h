#pragma once

// Qt's own views in a shown top-level window, for the GridKit delegates' tests: table views over
// a QStandardItemModel, cells of 100 x 20 pixels without headers, so that a cell's place is
// plain; and a tree view behind a QSortFilterProxyModel over any model, as a Qt developer puts a
// delegate to work. Input is sent to the window at window coordinates, as a pointer's would be.

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QWidget>

#include <memory>

namespace delegatetest {

constexpr int CellWidth = 100;
constexpr int CellHeight = 20;

inline void shape(QTableView& view) {
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.verticalHeader()->setMinimumSectionSize(1);
    view.verticalHeader()->setDefaultSectionSize(CellHeight);
    view.horizontalHeader()->setDefaultSectionSize(CellWidth);
    view.setShowGrid(false);
    view.setFrameShape(QFrame::NoFrame);
    // No focus frame unless a test asks for one: views side by side then draw alike.
    view.setFocusPolicy(Qt::NoFocus);
}

// One window, one model, and as many views of it side by side, each with its own delegate.
struct Window {
    explicit Window(int rows = 6, int columns = 3, int views = 1)
        : model(rows, columns) {
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        for (int v = 0; v < views; ++v) {
            auto* view = new QTableView;
            shape(*view);
            view->setModel(&model);
            layout->addWidget(view);
            tables.push_back(view);
        }
        window.resize(views * (columns * CellWidth + 20), rows * CellHeight + 20);
    }
    void show() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("delegate test window not exposed");
        settle();
    }
    QTableView& view(int v = 0) const { return *tables[size_t(v)]; }
    QWidget& viewport(int v = 0) const { return *view(v).viewport(); }
    QRect cell(int row, int column, int v = 0) const {
        return view(v).visualRect(view(v).model()->index(row, column));
    }
    // A point in a view's viewport, in the window's coordinates.
    QPoint at(const QPoint& inViewport, int v = 0) const {
        return viewport(v).mapTo(&window, inViewport);
    }
    QWindow* handle() { return window.windowHandle(); }
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QTest::qWait(5);
        }
    }

    QWidget window;
    QStandardItemModel model;
    std::vector<QTableView*> tables;
};

// A tree view with its header behind a QSortFilterProxyModel over source: a list's rows, columns
// 100 pixels wide.
struct TreeWindow {
    explicit TreeWindow(QAbstractItemModel& source) {
        proxy.setSourceModel(&source);
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new QTreeView;
        view->setModel(&proxy);
        view->setRootIsDecorated(false);
        view->setIndentation(0);
        view->setFrameShape(QFrame::NoFrame);
        view->header()->setStretchLastSection(false);
        view->header()->setDefaultSectionSize(CellWidth);
        // No focus frame unless a test asks for one, as in the table views.
        view->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(view);
        window.resize(source.columnCount() * CellWidth + 20, 240);
    }
    void show() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("delegate test window not exposed");
        Window::settle();
    }
    QWidget& viewport() const { return *view->viewport(); }
    // The cell the view shows at row and column, in its viewport.
    QRect cell(int row, int column) const { return view->visualRect(proxy.index(row, column)); }
    // The source's index for what the view shows at row and column.
    QModelIndex source(int row, int column) const {
        return proxy.mapToSource(proxy.index(row, column));
    }
    // A point in the cell at dx from its left edge, in the window.
    QPoint in(int row, int column, int dx) const {
        const QRect c = cell(row, column);
        return viewport().mapTo(&window, QPoint(c.left() + dx, c.center().y()));
    }
    // The middle of a column's header section, in the window.
    QPoint header(int column) const {
        QHeaderView& h = *view->header();
        return h.mapTo(&window,
                       QPoint(h.sectionViewportPosition(column) + CellWidth / 2, h.height() / 2));
    }
    QWindow* handle() { return window.windowHandle(); }

    QWidget window;
    QSortFilterProxyModel proxy;
    QTreeView* view = nullptr;
};

// What a view's viewport shows, one image pixel per device-independent pixel.
inline QImage shot(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    widget.render(&image);
    return image;
}

// How many pixels of area differ between two images by more than tolerance in a channel.
inline int differing(const QImage& a, const QImage& b, const QRect& area, int tolerance) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance ||
                std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++count;
        }
    }
    return count;
}

} // namespace delegatetest
