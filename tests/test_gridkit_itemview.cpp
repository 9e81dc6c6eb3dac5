// The report grid as a Qt item view over Qt's own models, as a Qt developer puts it to work: a
// QStandardItemModel with a button column, a check box column and a markup column, directly and
// behind a QSortFilterProxyModel; geometry, repaints, rows coming and going, a reset, sorting by a
// header click, an index widget, delegates of its own and Qt's, links in markup, and refused
// calls.
#include "gridgauge/gridkit/grid_delegate.h"
#include "gridgauge/gridkit/progress_delegate.h"
#include "gridgauge/gridkit/report_grid.h"
#include "gridgauge/gridkit/roles.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTest>

#include <memory>

using gridgauge::gridkit::ReportGrid;

namespace {

constexpr int Rows = 30;

// Column 0 a name, 1 a button, 2 a check box, 3 a markup badge.
std::unique_ptr<QStandardItemModel> makeModel() {
    auto model = std::make_unique<QStandardItemModel>(Rows, 4);
    model->setHorizontalHeaderLabels({"Name", "Action", "Done", "Badge"});
    for (int row = 0; row < Rows; ++row) {
        model->setItem(row, 0, new QStandardItem(QStringLiteral("item %1").arg(Rows - row)));
        auto* action = new QStandardItem;
        action->setData(QStringList{QStringLiteral("Open")}, gridgauge::gridkit::ButtonsRole);
        model->setItem(row, 1, action);
        auto* done = new QStandardItem(QStringLiteral("done"));
        done->setCheckable(true);
        done->setCheckState(Qt::Unchecked);
        model->setItem(row, 2, done);
        model->setItem(
            row, 3,
            new QStandardItem(QStringLiteral("<Border Background='#2060C0'><TextBlock "
                                             "Foreground='White'>%1</TextBlock></Border>")
                                  .arg(row)));
    }
    return model;
}

class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

// A view over a model, shown in a window of its own.
struct Shown {
    explicit Shown(QAbstractItemModel* over, Qt::LayoutDirection direction = Qt::LeftToRight) {
        view.setLayoutDirection(direction);
        view.setModel(over);
        view.resize(460, 300);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            qFatal("view not exposed");
        settle();
    }
    QWindow* window() { return view.windowHandle(); }
    // A point of the viewport as the window has it.
    QPoint inWindow(const QPoint& p) const { return view.viewport()->mapTo(&view, p); }
    QPoint centre(int row, int column) const {
        return inWindow(view.visualRect(view.model()->index(row, column)).center());
    }
    ReportGrid view;
};

} // namespace

class TestGridItemView : public QObject {
    Q_OBJECT

private slots:
    void cellsLieWhereTheGeometrySaysEitherWay_data();
    void cellsLieWhereTheGeometrySaysEitherWay();
    void aChangedCellRepaintsItselfAlone();
    void rowsInsertedRemovedAndAResetAreShown();
    void aClickOrSpaceOnAButtonRaisesButtonClicked();
    void aClickOrSpaceOnACheckBoxTogglesTheModel();
    void aHeaderClickSortsTheModelBothWays_data();
    void aHeaderClickSortsTheModelBothWays();
    void anIndexWidgetLiesOverItsCellAndFollowsTheScroll();
    void anotherDelegateDrawsItsColumn();
    void aLinkIsClickedHoveredAndActivatedByReturn();
    void markupTextTakesThePalettesColours_data();
    void markupTextTakesThePalettesColours();
    void refusedCallsWarnAndChangeNothing();
};

void TestGridItemView::cellsLieWhereTheGeometrySaysEitherWay_data() {
    QTest::addColumn<int>("direction");
    QTest::newRow("left to right") << int(Qt::LeftToRight);
    QTest::newRow("right to left") << int(Qt::RightToLeft);
}

void TestGridItemView::cellsLieWhereTheGeometrySaysEitherWay() {
    QFETCH(int, direction);
    const auto model = makeModel();
    Shown shown(model.get(), Qt::LayoutDirection(direction));
    ReportGrid& view = shown.view;
    const int width = view.viewport()->width();
    for (int column = 0; column < 4; ++column) {
        const QRect cell = view.visualRect(model->index(3, column));
        QCOMPARE(cell.size(), QSize(100, view.rowHeight()));
        QCOMPARE(cell.top(), 3 * view.rowHeight());
        // From the reading side: the left edge, or right to left the right one.
        QCOMPARE(direction == Qt::LeftToRight ? cell.left() : width - 1 - cell.right(),
                 column * 100);
        QCOMPARE(view.indexAt(cell.center()), model->index(3, column));
        QCOMPARE(view.columnAt(cell.center().x()), column);
        QCOMPARE(view.headerRect(column).bottom(), -1); // the header lies above the viewport
        QCOMPARE(view.headerRect(column).left(), cell.left());
    }
    QCOMPARE(view.rowAt(-1), -1);
    QVERIFY(!view.indexAt(QPoint(width / 2 + (direction == Qt::LeftToRight ? 200 : -200), 5))
                 .isValid()); // past the last column
    // A moved column shows at its new place; the model is as it was.
    view.moveColumn(0, 3);
    QCOMPARE(view.visualColumn(0), 3);
    QCOMPARE(view.logicalColumn(0), 1);
    QCOMPARE(view.indexAt(view.visualRect(model->index(0, 0)).center()), model->index(0, 0));
}

void TestGridItemView::aChangedCellRepaintsItselfAlone() {
    const auto model = makeModel();
    Shown shown(model.get());
    PaintRecorder recorder(shown.view.viewport());
    model->item(4, 0)->setText(QStringLiteral("renamed"));
    settle();
    QCOMPARE(recorder.painted, QRegion(shown.view.visualRect(model->index(4, 0))));
    recorder.painted = QRegion();
    model->item(4, 0)->setText(QStringLiteral("renamed")); // as it was: nothing to paint
    settle();
    QCOMPARE(recorder.painted, QRegion());
}

void TestGridItemView::rowsInsertedRemovedAndAResetAreShown() {
    const auto model = makeModel();
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(model.get());
    Shown shown(&proxy);
    ReportGrid& view = shown.view;
    const int range = view.verticalScrollBar()->maximum();
    model->insertRow(0, new QStandardItem(QStringLiteral("new first")));
    QCOMPARE(proxy.index(0, 0).data().toString(), QStringLiteral("new first"));
    QCOMPARE(view.indexAt(view.visualRect(proxy.index(0, 0)).center()), proxy.index(0, 0));
    QCOMPARE(view.verticalScrollBar()->maximum(), range + view.rowHeight());
    model->removeRows(0, 11);
    settle();
    QCOMPARE(view.verticalScrollBar()->maximum(),
             20 * view.rowHeight() - view.viewport()->height()); // twenty rows left
    QVERIFY(!view.visualRect(proxy.index(25, 0)).isValid());
    proxy.setFilterFixedString(QStringLiteral("item 1"));
    settle();
    QCOMPARE(proxy.rowCount(), 11); // "item 1" and "item 10" to "item 19"
    QCOMPARE(view.visualRect(proxy.index(10, 0)).top(), 10 * view.rowHeight());
    model->clear();
    settle();
    QCOMPARE(view.indexAt(QPoint(10, 10)), QModelIndex());
    QCOMPARE(view.sizeHintForColumn(0), -1); // no column any more
}

void TestGridItemView::aClickOrSpaceOnAButtonRaisesButtonClicked() {
    const auto model = makeModel();
    Shown shown(model.get());
    QSignalSpy clicked(&shown.view, &ReportGrid::buttonClicked);
    const QRect button = shown.view.buttonRect(model->index(5, 1), 0);
    QVERIFY(!button.isEmpty());
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, shown.inWindow(button.center()));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).value<QModelIndex>(), model->index(5, 1));
    QCOMPARE(clicked.at(0).at(1).toInt(), 0);
    // Pressed on it and released off it: no click.
    QTest::mousePress(shown.window(), Qt::LeftButton, {}, shown.inWindow(button.center()));
    QVERIFY(shown.view.gridDelegate()->isButtonPressed(model->index(5, 1), 0));
    QTest::mouseMove(shown.window(), shown.inWindow(button.center() + QPoint(0, 40)));
    QVERIFY(!shown.view.gridDelegate()->isButtonPressed(model->index(5, 1), 0));
    QTest::mouseRelease(shown.window(), Qt::LeftButton, {},
                        shown.inWindow(button.center() + QPoint(0, 40)));
    QCOMPARE(clicked.count(), 1);
    // A disabled button does not click.
    model->item(5, 1)->setData(QVariantList{false}, gridgauge::gridkit::ButtonsEnabledRole);
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, shown.inWindow(button.center()));
    QCOMPARE(clicked.count(), 1);
    // Space on the current cell clicks its first enabled button.
    shown.view.setCellFocus(true);
    shown.view.setCurrentIndex(model->index(6, 1));
    QTest::keyClick(shown.window(), Qt::Key_Space);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(1).at(0).value<QModelIndex>(), model->index(6, 1));
}

void TestGridItemView::aClickOrSpaceOnACheckBoxTogglesTheModel() {
    const auto model = makeModel();
    Shown shown(model.get());
    const QModelIndex done = model->index(3, 2);
    const QRect indicator = shown.view.checkBoxRect(done);
    QVERIFY(!indicator.isEmpty());
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, shown.inWindow(indicator.center()));
    QCOMPARE(model->item(3, 2)->checkState(), Qt::Checked);
    QCOMPARE(shown.view.currentIndex(), done); // the press made it current too
    // On the text beside the indicator, a click only makes it current.
    QTest::mouseClick(shown.window(), Qt::LeftButton, {},
                      shown.inWindow(indicator.center() + QPoint(40, 0)));
    QCOMPARE(model->item(3, 2)->checkState(), Qt::Checked);
    shown.view.setCellFocus(true);
    QTest::keyClick(shown.window(), Qt::Key_Space);
    QCOMPARE(model->item(3, 2)->checkState(), Qt::Unchecked);
    // A cell the model does not let the user tick keeps its state.
    model->item(3, 2)->setFlags(model->item(3, 2)->flags() & ~Qt::ItemIsUserCheckable);
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, shown.inWindow(indicator.center()));
    QCOMPARE(model->item(3, 2)->checkState(), Qt::Unchecked);
}

void TestGridItemView::aHeaderClickSortsTheModelBothWays_data() {
    QTest::addColumn<bool>("throughProxy");
    QTest::newRow("the model itself") << false;
    QTest::newRow("behind a sort filter proxy") << true;
}

void TestGridItemView::aHeaderClickSortsTheModelBothWays() {
    QFETCH(bool, throughProxy);
    const auto model = makeModel();
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(model.get());
    QAbstractItemModel* shownModel =
        throughProxy ? static_cast<QAbstractItemModel*>(&proxy) : model.get();
    Shown shown(shownModel);
    shown.view.setSortingEnabled(true);
    QSignalSpy moved(&shown.view, &ReportGrid::cellsMoved);
    const QPoint header = shown.inWindow(shown.view.headerRect(0).center());
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, header);
    QCOMPARE(shownModel->index(0, 0).data().toString(), QStringLiteral("item 1"));
    QCOMPARE(shown.view.sortColumn(), 0);
    QCOMPARE(shown.view.sortOrder(), Qt::AscendingOrder);
    QCOMPARE(moved.count(), 1);
    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, header);
    QCOMPARE(shownModel->index(0, 0).data().toString(), QStringLiteral("item 9"));
    QCOMPARE(shown.view.sortOrder(), Qt::DescendingOrder);
    // Sorting off: a click only makes nothing happen.
    shown.view.setSortingEnabled(false);
    QTest::mouseClick(shown.window(), Qt::LeftButton, {},
                      shown.inWindow(shown.view.headerRect(3).center()));
    QCOMPARE(shown.view.sortColumn(), 0);
}

void TestGridItemView::anIndexWidgetLiesOverItsCellAndFollowsTheScroll() {
    const auto model = makeModel();
    Shown shown(model.get());
    auto* label = new QLabel(QStringLiteral("over a cell"));
    const QModelIndex cell = model->index(10, 0);
    shown.view.setIndexWidget(cell, label);
    settle();
    QCOMPARE(label->geometry(), shown.view.visualRect(cell));
    shown.view.verticalScrollBar()->setValue(3 * shown.view.rowHeight());
    settle();
    QCOMPARE(label->geometry(), shown.view.visualRect(cell));
    QCOMPARE(label->geometry().top(), 7 * shown.view.rowHeight());
}

void TestGridItemView::anotherDelegateDrawsItsColumn() {
    QStandardItemModel model(3, 2);
    for (int row = 0; row < 3; ++row) {
        model.setItem(row, 0, new QStandardItem(QString::number(row * 40)));
        model.setItem(row, 1, new QStandardItem(QString::number(row * 40)));
    }
    Shown shown(&model);
    auto* bars = new gridgauge::gridkit::ProgressDelegate(&shown.view);
    shown.view.setItemDelegateForColumn(1, bars);
    settle();
    const QImage image = shown.view.viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect text = shown.view.visualRect(model.index(2, 0));
    const QRect bar = shown.view.visualRect(model.index(2, 1));
    // The bar's fill (80%) covers 70% of its cell, past its text; the text column holds a little
    // ink on white.
    const QColor fill =
        image.pixelColor((bar.topLeft() + QPoint(bar.width() * 7 / 10, bar.height() / 2)) * ratio);
    QVERIFY2(fill != shown.view.palette().color(QPalette::Base), qPrintable(fill.name()));
    QCOMPARE(
        image.pixelColor((text.topLeft() + QPoint(text.width() - 10, text.height() / 2)) * ratio),
        shown.view.palette().color(QPalette::Base));
}

// A markup link in the first column's second row: the pointer over it shows a hand, a click on it
// and Return on it (as the focused cell) raise the grid's linkActivated and the delegate's, and
// the click leaves the current cell where it was.
void TestGridItemView::aLinkIsClickedHoveredAndActivatedByReturn() {
    QStandardItemModel model(3, 2);
    const QString target = QStringLiteral("https://example.org/guide");
    model.setItem(1, 0,
                  new QStandardItem(QStringLiteral("<TextBlock><Hyperlink NavigateUri='%1'>Guide"
                                                   "</Hyperlink> and more</TextBlock>")
                                        .arg(target)));
    Shown shown(&model);
    ReportGrid& view = shown.view;
    view.setCellFocus(true);
    view.setCurrentIndex(model.index(2, 1));
    settle();
    const QModelIndex cell = model.index(1, 0);
    const QPoint link = shown.inWindow(view.visualRect(cell).topLeft() + QPoint(2 + 6, 1 + 6));
    const QPoint past = shown.inWindow(view.visualRect(cell).topRight() + QPoint(-6, 1 + 6));
    QSignalSpy activated(&view, &ReportGrid::linkActivated);
    QSignalSpy delegateActivated(view.gridDelegate(),
                                 &gridgauge::gridkit::GridDelegate::linkActivated);
    QSignalSpy hovered(&view, &ReportGrid::linkHovered);

    QTest::mouseMove(shown.window(), past); // Qt drops a move to where the pointer is already
    QTest::mouseMove(shown.window(), link);
    QCOMPARE(view.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(shown.window(), past);
    QCOMPARE(view.viewport()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(hovered.count(), 2);
    QCOMPARE(hovered.at(0).at(1).toString(), target);
    QCOMPARE(hovered.at(1).at(1).toString(), QString());

    QTest::mouseClick(shown.window(), Qt::LeftButton, {}, link);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).value<QModelIndex>(), cell);
    QCOMPARE(activated.at(0).at(1).toString(), target);
    QCOMPARE(view.currentIndex(), model.index(2, 1));
    QVERIFY(!view.selectionModel()->isRowSelected(1, QModelIndex()));

    view.setCurrentIndex(cell);
    QTest::keyClick(shown.window(), Qt::Key_Return);
    QCOMPARE(activated.count(), 2);
    QCOMPARE(activated.at(1).at(0).value<QModelIndex>(), cell);
    QCOMPARE(delegateActivated.count(), 2);
}

void TestGridItemView::markupTextTakesThePalettesColours_data() {
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("a normal row") << false << QColor(0xC0, 0x10, 0x10);
    QTest::newRow("a selected row") << true << QColor(0x10, 0xA0, 0x10);
}

// Big bold letters without a Foreground take the text colour of the view's palette, and no black.
void TestGridItemView::markupTextTakesThePalettesColours() {
    QFETCH(bool, selected);
    QFETCH(QColor, colour);
    QStandardItemModel model(3, 2);
    model.setItem(1, 0,
                  new QStandardItem(
                      QStringLiteral("<TextBlock FontSize='18' FontWeight='Bold'>HH</TextBlock>")));
    Shown shown(&model);
    QPalette palette = shown.view.palette();
    palette.setColor(QPalette::Text, QColor(0xC0, 0x10, 0x10));
    palette.setColor(QPalette::HighlightedText, QColor(0x10, 0xA0, 0x10));
    palette.setColor(QPalette::Highlight, QColor(0xF0, 0xF0, 0xD0));
    shown.view.setPalette(palette);
    if (selected)
        shown.view.setCurrentIndex(model.index(1, 0));
    settle();
    const QImage image = shown.view.viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect cell = shown.view.visualRect(model.index(1, 0));
    int inColour = 0, black = 0;
    for (int y = int(cell.top() * ratio); y < int((cell.bottom() + 1) * ratio); ++y) {
        for (int x = int(cell.left() * ratio); x < int((cell.right() + 1) * ratio); ++x) {
            inColour += image.pixelColor(x, y) == colour;
            black += qGray(image.pixel(x, y)) < 40;
        }
    }
    QVERIFY2(inColour >= 20, qPrintable(QString::number(inColour)));
    QCOMPARE(black, 0);
}

void TestGridItemView::refusedCallsWarnAndChangeNothing() {
    const auto model = makeModel();
    Shown shown(model.get());
    ReportGrid& view = shown.view;
    QSignalSpy resized(&view, &ReportGrid::columnResized);
    QTest::ignoreMessage(QtWarningMsg, "ReportGrid::setColumnWidth: column 9, width 50 refused");
    view.setColumnWidth(9, 50);
    QTest::ignoreMessage(QtWarningMsg, "ReportGrid::setColumnWidth: column 1, width -5 refused");
    view.setColumnWidth(1, -5);
    QTest::ignoreMessage(QtWarningMsg, "ReportGrid::moveColumn: from 0 to 7 refused");
    view.moveColumn(0, 7);
    QTest::ignoreMessage(QtWarningMsg, "ReportGrid::setMinimumColumnWidth: -1 refused");
    view.setMinimumColumnWidth(-1);
    QTest::ignoreMessage(QtWarningMsg, "ReportGrid::setHeaderStyle: no header style 7");
    view.setHeaderStyle(ReportGrid::HeaderStyle(7));
    QCOMPARE(resized.count(), 0);
    QCOMPARE(view.columnWidth(1), 100);
    QCOMPARE(view.visualColumn(0), 0);
    QCOMPARE(view.headerStyle(), ReportGrid::StyledHeader);
    QCOMPARE(view.columnWidth(9), 0);
    QCOMPARE(view.headerRect(9), QRect());
    QCOMPARE(view.visualRect(QModelIndex()), QRect());
    // A setting that changes says so, once.
    QSignalSpy lines(&view, &ReportGrid::gridLinesVisibleChanged);
    view.setGridLinesVisible(true);
    view.setGridLinesVisible(true);
    QCOMPARE(lines.count(), 1);
}

QTEST_MAIN(TestGridItemView)
#include "test_gridkit_itemview.moc"
