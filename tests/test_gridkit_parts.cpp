// The grid's parts, each built and driven on its own: input with a listener that only records,
// and the drawings markup cells keep.
#include "cell_drawings.h"
#include "geometry.h"
#include "input.h"
#include "settings.h"

#include "gridgauge/gridkit/grid_model.h"
#include "parse_count.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QTest>

#include <functional>

using namespace gridkit;

namespace {

// What input told it, one line each.
class Listener final : public detail::InputListener {
public:
    bool pointerPressed(const QMouseEvent&, QPoint at) override {
        log << QStringLiteral("pressed %1 %2").arg(at.x()).arg(at.y());
        return viewStays;
    }
    bool pointerMoved(const QMouseEvent&, QPoint) override { return viewStays; }
    void focusCell(CellAddress cell, bool scroll) override {
        log << QStringLiteral("focus %1 %2%3")
                   .arg(cell.row)
                   .arg(cell.column)
                   .arg(scroll ? " scroll" : "");
        *focus = cell; // as the grid does
    }
    void clickControl(qint32 row, qint32 item, qint32 position) override {
        log << QStringLiteral("click %1 %2 %3").arg(row).arg(item).arg(position);
    }
    void toggleCheckBox(qint32 row, qint32 item) override {
        log << QStringLiteral("toggle %1 %2").arg(row).arg(item);
    }
    void resizeColumn(qint32 column, qint32 width) override {
        log << QStringLiteral("resize %1 %2").arg(column).arg(width);
    }
    void fitColumn(qint32 column) override { log << QStringLiteral("fit %1").arg(column); }
    void moveColumn(qint32 from, qint32 to) override {
        log << QStringLiteral("move %1 %2").arg(from).arg(to);
    }
    void sortByColumn(qint32 column) override { log << QStringLiteral("sort %1").arg(column); }
    void cellLookChanged(qint32 row, qint32 column) override {
        log << QStringLiteral("look %1 %2").arg(row).arg(column);
    }
    void headerLookChanged() override { log << QStringLiteral("header look"); }
    void resizeCursorChanged(bool overEdge) override {
        log << QStringLiteral("cursor %1").arg(overEdge);
    }

    QStringList log;
    bool viewStays = true;
    CellAddress* focus = nullptr;
};

// Three columns of 100 over four records; row 1's item 0 holds a button, row 2's item 2 a check
// box. Rows are 20 high below a 24-pixel header.
struct Parts {
    Parts() {
        for (int c = 0; c < 3; ++c) {
            model.columns().add(c, QStringLiteral("C%1").arg(c), 100, true);
            geometry.addColumn(100);
        }
        for (int r = 0; r < 4; ++r) {
            Record record = model.records().add();
            for (int i = 0; i < 3; ++i)
                record.addItem(QString());
        }
        model.rebuild();
        model.rows().row(1).record().item(0).itemControls().add(5);
        model.rows().row(2).record().item(2).setHasCheckBox(true);
        geometry.setMetrics(20, 24);
        geometry.setViewportSize(QSize(300, 200));
        settings.cellFocus = true;
        settings.sortOnClick = true;
        listener.focus = &focus;
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        const QMouseEvent event(type, at, at, button, held, Qt::NoModifier);
        if (type == QEvent::MouseButtonPress)
            input.press(event);
        else if (type == QEvent::MouseMove)
            input.move(event);
        else
            input.release(event);
    }
    void click(QPoint at, QPoint releaseAt) {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseMove, releaseAt);
        mouse(QEvent::MouseButtonRelease, releaseAt);
    }
    void key(Qt::Key key) { input.key(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier)); }

    GridModel model;
    detail::GridGeometry geometry{model};
    detail::ViewSettings settings;
    CellAddress focus;
    Listener listener;
    detail::GridInput input{model, geometry, settings, focus, listener};
};

} // namespace

class TestGridParts : public QObject {
    Q_OBJECT

private slots:
    void inputTellsWhatTheUserDid_data();
    void inputTellsWhatTheUserDid();
    void inputStopsWhenTheViewWentAwayDuringAPress();
    void cellsShowingOneTextShareItsDocumentAndLayOutOnceEach();
    void aCellBackAtACaptionItShowedLaysNothingOutAgain();
};

void TestGridParts::inputTellsWhatTheUserDid_data() {
    QTest::addColumn<std::function<void(Parts&)>>("gesture");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("click on a button") << std::function<void(Parts&)>([](Parts& p) {
        p.click({50, 54}, {52, 55});
    }) << QStringList{"pressed 50 54", "focus 1 0", "look 1 0", "look 1 0", "click 1 0 0"};
    QTest::newRow("button released off it") << std::function<void(Parts&)>([](Parts& p) {
        p.click({50, 54}, {50, 90});
    }) << QStringList{"pressed 50 54", "focus 1 0", "look 1 0", "look 1 0"};
    QTest::newRow("right button on a button") << std::function<void(Parts&)>([](Parts& p) {
        p.mouse(QEvent::MouseButtonPress, {50, 54}, Qt::RightButton);
    }) << QStringList{"pressed 50 54"};
    QTest::newRow("check box indicator") << std::function<void(Parts&)>([](Parts& p) {
        p.click({206, 74}, {206, 74});
    }) << QStringList{"pressed 206 74", "focus 2 2", "toggle 2 2"};
    QTest::newRow("header edge dragged") << std::function<void(Parts&)>([](Parts& p) {
        p.click({100, 10}, {130, 10});
    }) << QStringList{"pressed 100 10", "resize 0 130"};
    QTest::newRow("header edge dragged below the minimum")
        << std::function<void(Parts&)>([](Parts& p) {
               p.click({100, 10}, {-50, 10});
           })
        << QStringList{"pressed 100 10", "resize 0 10"};
    QTest::newRow("header clicked") << std::function<void(Parts&)>([](Parts& p) {
        p.click({150, 10}, {150, 10});
    }) << QStringList{"pressed 150 10", "header look", "header look", "sort 1"};
    QTest::newRow("first key shows where focus starts")
        << std::function<void(Parts&)>([](Parts& p) { p.key(Qt::Key_Down); })
        << QStringList{"focus 0 0 scroll"};
    QTest::newRow("keys move, Space clicks the button")
        << std::function<void(Parts&)>([](Parts& p) {
               p.key(Qt::Key_Down);
               p.key(Qt::Key_Down);
               p.key(Qt::Key_Space);
               p.key(Qt::Key_End);
               p.key(Qt::Key_Down);
               p.key(Qt::Key_Return);
           })
        << QStringList{"focus 0 0 scroll", "focus 1 0 scroll", "click 1 0 0",
                       "focus 1 2 scroll", "focus 2 2 scroll", "toggle 2 2"};
}

// Input changes nothing itself: every gesture comes out as what the user did, for the grid to
// carry out.
void TestGridParts::inputTellsWhatTheUserDid() {
    QFETCH(std::function<void(Parts&)>, gesture);
    QFETCH(QStringList, told);
    Parts parts;
    gesture(parts);
    QCOMPARE(parts.listener.log, told);
    QVERIFY(!parts.model.item(2, 2).checked);
    QCOMPARE(parts.geometry.columnWidth(0), 100);
}

void TestGridParts::inputStopsWhenTheViewWentAwayDuringAPress() {
    Parts parts;
    parts.listener.viewStays = false;
    parts.mouse(QEvent::MouseButtonPress, {50, 54});
    QCOMPARE(parts.listener.log, QStringList{"pressed 50 54"});
}

void TestGridParts::cellsShowingOneTextShareItsDocumentAndLayOutOnceEach() {
    const QString text = QStringLiteral(
        "<Border Background='#2060C0'><TextBlock>shared by two cells</TextBlock></Border>");
    detail::CellDrawings drawings;
    const quint64 parsed = markup::parseCount();
    QImage image(300, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int paint = 0; paint < 3; ++paint) {
        drawings.find(0, 1, text)->paint(painter, QRectF(0, 0, 80, 20), QFont());
        drawings.find(0, 2, text)->paint(painter, QRectF(0, 20, 200, 20), QFont());
    }
    QCOMPARE(markup::parseCount(), parsed + 1);
    markup::Drawing* narrow = drawings.find(0, 1, text);
    markup::Drawing* wide = drawings.find(0, 2, text);
    QVERIFY(narrow != wide);
    QCOMPARE(narrow->document(), wide->document());
    QCOMPARE(narrow->layoutCount(), quint64(1));
    QCOMPARE(wide->layoutCount(), quint64(1));
    // Another caption in the cell is another drawing; plain text is none.
    QVERIFY(!drawings.find(0, 1, QStringLiteral("plain")));
    QVERIFY(drawings.find(0, 2, text) == wide);
}

// A bar going 75, 76, 75: the drawing of 75, laid aside when the cell showed 76, comes back with
// its layout; a cell of another size or a cell whose caption is forgotten lays out its own.
void TestGridParts::aCellBackAtACaptionItShowedLaysNothingOutAgain() {
    const auto bar = [](int percent) {
        return QStringLiteral("<Border Background='#2060C0'><TextBlock>%1%</TextBlock></Border>")
            .arg(percent);
    };
    detail::CellDrawings drawings;
    QImage image(300, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    const QSize size(80, 18);
    const auto paint = [&](qint32 columnId, const QString& caption, QSize in) {
        markup::Drawing* drawing = drawings.find(3, columnId, caption, in);
        const quint64 before = drawing->layoutCount();
        drawing->paint(painter, QRectF(QPointF(), in), QFont());
        return before;
    };
    QCOMPARE(paint(1, bar(75), size), quint64(0));
    QCOMPARE(paint(1, bar(76), size), quint64(0));
    QCOMPARE(paint(1, bar(75), size), quint64(1)); // laid out before
    QCOMPARE(paint(1, bar(76), size), quint64(1));
    QCOMPARE(paint(2, bar(75), QSize(120, 18)), quint64(0)); // not the 80-pixel one
    drawings.forget(3, 1);                                   // the cell's caption changed
    QCOMPARE(paint(2, bar(76), size), quint64(1));           // 76 at 80 pixels, laid aside
    drawings.clear();
    QCOMPARE(paint(1, bar(75), size), quint64(0));
}

QTEST_MAIN(TestGridParts)
#include "test_gridkit_parts.moc"
