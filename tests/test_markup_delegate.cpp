// MarkupDelegate in Qt's own table and tree views: markup cells drawn as their markup over the
// style's item, everything else as Qt draws it, markup read from a role of its own while a sort
// proxy sorts and filters the display text, nothing parsed or laid out again on a repaint,
// hostile texts kept in their cell and their time, crisp at any scale, and read by a screen
// reader as text.
#include "delegate_drawings.h"
#include "delegate_fixture.h"
#include "markup_samples.h"
#include "parse_count.h"

#include "gridgauge/gridkit/grid_delegate.h"
#include "gridgauge/gridkit/markup_delegate.h"
#include "gridgauge/gridkit/markup_text_model.h"
#include "gridgauge/markup/markup.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QStyledItemDelegate>

using delegatetest::CellHeight;
using delegatetest::CellWidth;
using delegatetest::TreeWindow;
using delegatetest::Window;
using gridgauge::gridkit::MarkupDelegate;

namespace {

// A text no earlier test has parsed, so that counting parses starts from nothing.
QString freshCaption(int percent) {
    return samples::nestedWith(QString::number(percent), QStringLiteral("18"),
                               QString::number(percent));
}

const QColor sentinel(255, 0, 255);

quint64 layouts() {
    return gridgauge::gridkit::detail::DelegateDrawings::layoutCount();
}

// A cell whose text starts with a link, "Read more" to https://example.org/a, and goes on past it.
const QString oneLink = QStringLiteral(
    "<TextBlock><Hyperlink NavigateUri='https://example.org/a'>Read more</Hyperlink> "
    "here</TextBlock>");
const QString twoLinks =
    QStringLiteral("<TextBlock><Hyperlink NavigateUri='https://example.org/a'>First</Hyperlink> "
                   "<Hyperlink NavigateUri='https://example.org/b'>Second</Hyperlink></TextBlock>");

// In the window: on the first letters of a cell's text, which a link there starts with, and past
// the end of its text.
QPoint onLink(const Window& w, int row, int column) {
    return w.at(w.cell(row, column).topLeft() + QPoint(2 + 6, 1 + 6));
}
QPoint pastText(const Window& w, int row, int column) {
    return w.at(w.cell(row, column).topRight() + QPoint(-6, 1 + 6));
}

// The first argument of a recorded signal as an index, and its second as text.
QPair<QModelIndex, QString> told(const QSignalSpy& spy, int i) {
    return {spy.at(i).at(0).value<QModelIndex>(), spy.at(i).at(1).toString()};
}

} // namespace

class TestMarkupDelegate : public QObject {
    Q_OBJECT

private slots:
    void markupCellIsItsMarkupOverTheEmptyItem_data();
    void markupCellIsItsMarkupOverTheEmptyItem();
    void aCheckBoxStaysBesideTheMarkup();
    void otherTextsAreDrawnAsTheStyledDelegateDrawsThem_data();
    void otherTextsAreDrawnAsTheStyledDelegateDrawsThem();
    void repaintingUnchangedCellsParsesAndLaysOutNothing();
    void hostileTextStaysInItsCellAndInTime_data();
    void hostileTextStaysInItsCellAndInTime();
    void sizeHintIsWhatTheMarkupAsksFor_data();
    void sizeHintIsWhatTheMarkupAsksFor();
    void drawingIsCrispAtTheScreensScale();
    void screenReaderReadsAMarkupCellAsItsText_data();
    void screenReaderReadsAMarkupCellAsItsText();
    void aMarkupRoleLeavesTheDisplayTextToSortingAndFiltering();
    void textWithoutForegroundTakesThePalettesColours_data();
    void textWithoutForegroundTakesThePalettesColours();
    void aClickOnALinkActivatesItAndNothingElse_data();
    void aClickOnALinkActivatesItAndNothingElse();
    void thePointerOverALinkShowsAHandAndTellsOfIt();
    void returnActivatesTheCurrentCellsLink_data();
    void returnActivatesTheCurrentCellsLink();
    void aDelegatesResolverServesItsPictures_data();
    void aDelegatesResolverServesItsPictures();
    void anUnderlineShowsWhenTheWindowIsPainted();
};

void TestMarkupDelegate::markupCellIsItsMarkupOverTheEmptyItem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<Qt::LayoutDirection>("direction");
    const QString corner =
        QStringLiteral("<Border Width='20' Height='8' HorizontalAlignment='Left' "
                       "VerticalAlignment='Top' Background='#658C4B'/>");
    QTest::newRow("nested") << samples::nested << false << false << Qt::LeftToRight;
    QTest::newRow("nested, selected") << samples::nested << true << false << Qt::LeftToRight;
    QTest::newRow("nested, current in a focused view")
        << samples::nested << false << true << Qt::LeftToRight;
    QTest::newRow("layered, selected") << samples::layered << true << false << Qt::LeftToRight;
    QTest::newRow("a box in a corner") << corner << false << false << Qt::LeftToRight;
    // Right to left the view's markup is mirrored as the engine mirrors it: the box at the right.
    QTest::newRow("a box in a corner, right to left")
        << corner << false << false << Qt::RightToLeft;
    QTest::newRow("nested, right to left") << samples::nested << false << false << Qt::RightToLeft;
}

// The reference is the same view with the cell's text emptied, and the markup rendered on it in
// the cell less the grid's padding: what the style draws of the item (selection, focus frame) must
// be there, and the markup over it.
void TestMarkupDelegate::markupCellIsItsMarkupOverTheEmptyItem() {
    QFETCH(QString, text);
    QFETCH(bool, selected);
    QFETCH(bool, focused);
    QFETCH(Qt::LayoutDirection, direction);
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.view().setLayoutDirection(direction);
    w.show();
    const QModelIndex index = w.model.index(1, 1);
    if (selected)
        w.view().selectionModel()->select(index, QItemSelectionModel::Select);
    if (focused) {
        w.view().setFocusPolicy(Qt::StrongFocus);
        w.view().setFocus();
        w.view().setCurrentIndex(index);
        w.view().selectionModel()->clearSelection();
    }
    Window::settle();
    const QRect cell = w.cell(1, 1);
    QImage expected = delegatetest::shot(w.viewport());
    {
        QPainter painter(&expected);
        gridgauge::markup::render(painter, *gridgauge::markup::parse(text),
                                  QRectF(cell.adjusted(2, 1, -2, -1)), w.view().font(), direction);
    }
    w.model.setData(index, text);
    Window::settle();
    const QImage shown = delegatetest::shot(w.viewport());

    QCOMPARE(delegatetest::differing(shown, expected, w.viewport().rect(), 8), 0);
}

// The markup, which fills its box, leaves the style's check indicator as the style draws it.
void TestMarkupDelegate::aCheckBoxStaysBesideTheMarkup() {
    Window w(6, 3, 2);
    MarkupDelegate delegate;
    w.view(0).setItemDelegate(&delegate);
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index, samples::nested);
    w.model.setData(index, Qt::Checked, Qt::CheckStateRole);
    w.show();
    QStyleOptionViewItem option;
    option.initFrom(&w.view());
    option.widget = &w.view();
    option.rect = w.cell(1, 1);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect indicator =
        w.view().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option);
    QVERIFY(!indicator.isEmpty());
    QCOMPARE(delegatetest::shot(w.viewport(0)).copy(indicator),
             delegatetest::shot(w.viewport(1)).copy(indicator));
}

void TestMarkupDelegate::otherTextsAreDrawnAsTheStyledDelegateDrawsThem_data() {
    QTest::addColumn<QVariant>("value");
    const QString tooLong = QStringLiteral("<TextBlock>") +
                            QString(MarkupDelegate::maxMarkupLength(), u'x') +
                            QStringLiteral("</TextBlock>");
    QTest::newRow("plain text") << QVariant(QStringLiteral("Build 1234 passed"));
    QTest::newRow("empty") << QVariant(QString());
    QTest::newRow("a number") << QVariant(42);
    QTest::newRow("unclosed") << QVariant(QStringLiteral("<Border><TextBlock>75%"));
    QTest::newRow("unknown element") << QVariant(QStringLiteral("<Gauge Value='75'/>"));
    QTest::newRow("text before the tag") << QVariant(QStringLiteral("75% <Border/>"));
    QTest::newRow("markup too long to be read as such") << QVariant(tooLong);
}

void TestMarkupDelegate::otherTextsAreDrawnAsTheStyledDelegateDrawsThem() {
    QFETCH(QVariant, value);
    Window w(6, 3, 2);
    MarkupDelegate delegate;
    w.view(0).setItemDelegate(&delegate);
    w.model.setData(w.model.index(2, 1), value);
    w.model.setData(w.model.index(3, 1), value);
    for (int v = 0; v < 2; ++v)
        w.view(v).selectionModel()->select(w.model.index(3, 1), QItemSelectionModel::Select);
    w.show();

    const QImage drawn = delegatetest::shot(w.viewport(0));
    const QImage styled = delegatetest::shot(w.viewport(1));
    QCOMPARE(delegatetest::differing(drawn, styled, drawn.rect(), 0), 0);
}

// Every cell holds one text no test parsed before: one parse for all eighteen, one layout per
// cell, and then nothing for a repaint; a new text in one cell is one parse and one layout, a
// width change lays out that column's cells only, and a second view shares the documents.
void TestMarkupDelegate::repaintingUnchangedCellsParsesAndLaysOutNothing() {
    Window w(6, 3, 2);
    MarkupDelegate delegate;
    for (int v = 0; v < 2; ++v)
        w.view(v).setItemDelegate(&delegate);
    w.view(1).hide();
    const QString text = freshCaption(31);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c)
            w.model.setData(w.model.index(r, c), text);
    const quint64 parses = gridgauge::markup::parseCount();
    const quint64 laidOut = layouts();
    w.show();
    QCOMPARE(gridgauge::markup::parseCount() - parses, 1u);
    QCOMPARE(layouts() - laidOut, 18u);

    w.viewport().repaint();
    w.viewport().repaint();
    QCOMPARE(gridgauge::markup::parseCount() - parses, 1u);
    QCOMPARE(layouts() - laidOut, 18u);

    w.model.setData(w.model.index(2, 1), freshCaption(32));
    Window::settle();
    QCOMPARE(gridgauge::markup::parseCount() - parses, 2u);
    QCOMPARE(layouts() - laidOut, 19u);

    w.view().setColumnWidth(2, 120);
    Window::settle();
    QCOMPARE(gridgauge::markup::parseCount() - parses, 2u);
    QCOMPARE(layouts() - laidOut, 25u);

    w.view(1).show();
    Window::settle();
    QCOMPARE(gridgauge::markup::parseCount() - parses, 2u);
    QCOMPARE(layouts() - laidOut, 43u);
}

void TestMarkupDelegate::hostileTextStaysInItsCellAndInTime_data() {
    QTest::addColumn<QString>("text");
    const int megabyte = 1 << 20;
    QString words;
    while (words.size() < megabyte)
        words += QStringLiteral("word ");
    QString deep, deepEnd;
    for (int i = 0; i < 5000; ++i) {
        deep += QStringLiteral("<Border Padding='1'>");
        deepEnd += QStringLiteral("</Border>");
    }
    QString grids, gridsEnd;
    for (int i = 0; i < 200; ++i) {
        grids += QStringLiteral("<Grid Margin='-3'><Border Margin='-2' Background='Red'/>");
        gridsEnd += QStringLiteral("</Grid>");
    }
    QString longWrapped = QStringLiteral("<TextBlock TextWrapping='Wrap'>");
    while (longWrapped.size() < MarkupDelegate::maxMarkupLength() - 20)
        longWrapped += QStringLiteral("wrap ");
    longWrapped += QStringLiteral("</TextBlock>");

    QTest::newRow("a megabyte of plain text") << QString(megabyte, u'W');
    QTest::newRow("a megabyte of text in a TextBlock")
        << QStringLiteral("<TextBlock>") + words + QStringLiteral("</TextBlock>");
    QTest::newRow("nested deeper than any caption") << deep + QStringLiteral("x") + deepEnd;
    QTest::newRow("grids nested 200 deep, each overhanging") << grids + gridsEnd;
    QTest::newRow("the longest markup, wrapped in a small cell") << longWrapped;
    QTest::newRow("an element far larger than its cell")
        << QStringLiteral("<Border Width='50000' Height='50000' Margin='-20000' "
                          "Background='Red' BorderBrush='Blue' BorderThickness='300'/>");
    QTest::newRow("text far out of its cell")
        << QStringLiteral("<TextBlock Margin='-60,-40,0,0' FontSize='90' "
                          "Foreground='Red'>WWWWWWWWWW</TextBlock>");
    QTest::newRow("malformed") << QStringLiteral("<Border><TextBlock>75%</Border>");
}

// Painted straight into an image whose every pixel outside the cell is a sentinel colour, and
// then by the shown view: bounded in time however the text is made, and nothing outside the cell.
void TestMarkupDelegate::hostileTextStaysInItsCellAndInTime() {
    QFETCH(QString, text);
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.show();
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index, text);

    QImage image(3 * CellWidth, 3 * CellHeight, QImage::Format_RGB32);
    image.fill(sentinel);
    const QRect cell(CellWidth, CellHeight, CellWidth, CellHeight);
    QStyleOptionViewItem option;
    option.initFrom(&w.view());
    option.widget = &w.view();
    option.rect = cell;
    QElapsedTimer clock;
    clock.start();
    {
        QPainter painter(&image);
        for (int i = 0; i < 4; ++i)
            delegate.paint(&painter, option, index);
    }
    w.viewport().repaint();
    // Generous for a slow, shared machine: the point is that nothing grows without bound.
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));

    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            outside += !cell.contains(x, y) && image.pixelColor(x, y) != sentinel;
    QCOMPARE(outside, 0);
}

void TestMarkupDelegate::sizeHintIsWhatTheMarkupAsksFor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    // The layered bar's panel is 96 wide and its track at least 16 high; the nested bar's track
    // is 18 high, its bar 69 wide inside a padding and a frame of 1 on each side.
    QTest::newRow("layered") << samples::layered << QSize(96 + 4, 16 + 2);
    QTest::newRow("nested") << samples::nested << QSize(69 + 4 + 4, 18 + 2);
    QTest::newRow("a fixed box") << QStringLiteral("<Border Width='30' Height='40'/>")
                                 << QSize(30 + 4, 40 + 2);
}

void TestMarkupDelegate::sizeHintIsWhatTheMarkupAsksFor() {
    QFETCH(QString, text);
    QFETCH(QSize, size);
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.model.setData(w.model.index(0, 0), text);
    w.model.setData(w.model.index(0, 1), QStringLiteral("plain"));
    QStyleOptionViewItem option;
    option.initFrom(&w.view());
    option.widget = &w.view();
    QCOMPARE(delegate.sizeHint(option, w.model.index(0, 0)), size);
    QCOMPARE(delegate.sizeHint(option, w.model.index(0, 1)),
             QStyledItemDelegate().sizeHint(option, w.model.index(0, 1)));
}

// At a device pixel ratio of 2 the track's one-pixel frame is two whole device rows of its colour
// right under the cell's background, and its gradient changes from one device row to the next:
// drawn at the device's resolution on whole device pixels, not scaled up from a smaller picture.
void TestMarkupDelegate::drawingIsCrispAtTheScreensScale() {
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.model.setData(w.model.index(1, 1), samples::layered);
    w.show();
    const QImage device = w.viewport().grab().toImage();
    const int ratio = int(device.devicePixelRatio());
    // The track is 16 high at the top of the cell, its bar 72 wide from the left, "75%" centred.
    const QRect track(w.cell(1, 1).left() + 2, w.cell(1, 1).top() + 1, 96, 16);
    const int x = (track.left() + 85) * ratio;
    QCOMPARE(device.pixelColor(x, track.top() * ratio - 1),
             w.view().palette().color(QPalette::Base));
    for (int k = 0; k < ratio; ++k)
        QCOMPARE(device.pixelColor(x, track.top() * ratio + k), QColor(0x5E, 0x72, 0x93));
    QSet<QRgb> shades;
    for (int y = (track.top() + 1) * ratio; y < (track.bottom()) * ratio; ++y)
        shades.insert(device.pixel(x, y));
    QVERIFY2(shades.size() >= 14 * ratio * 3 / 4, qPrintable(QString::number(shades.size())));
}

void TestMarkupDelegate::screenReaderReadsAMarkupCellAsItsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accessible");
    QTest::addColumn<QString>("read");
    QTest::newRow("nested bar") << samples::nested << QString() << QStringLiteral("75%");
    QTest::newRow("layered bar") << samples::layered << QString() << QStringLiteral("75%");
    QTest::newRow("two text blocks")
        << QStringLiteral("<StackPanel><TextBlock>Build</TextBlock><TextBlock>passed</TextBlock>"
                          "</StackPanel>")
        << QString() << QStringLiteral("Build passed");
    QTest::newRow("plain text") << QStringLiteral("Ready") << QString() << QStringLiteral("Ready");
    QTest::newRow("an accessible text of its own")
        << samples::nested << QStringLiteral("three quarters") << QStringLiteral("three quarters");
}

// Through Qt's accessible table, as a screen reader asks: the view's cell, by row and column.
void TestMarkupDelegate::screenReaderReadsAMarkupCellAsItsText() {
    QFETCH(QString, text);
    QFETCH(QString, accessible);
    QFETCH(QString, read);
    Window w;
    gridgauge::gridkit::MarkupTextModel readable;
    readable.setSourceModel(&w.model);
    w.view().setModel(&readable);
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.model.setData(w.model.index(2, 1), text);
    if (!accessible.isEmpty())
        w.model.setData(w.model.index(2, 1), accessible, Qt::AccessibleTextRole);
    w.show();

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&w.view());
    QVERIFY(table && table->tableInterface());
    QAccessibleInterface* cell = table->tableInterface()->cellAt(2, 1);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), read);
    QCOMPARE(readable.data(readable.index(2, 1)).toString(), text);
}

// Each status's markup is a box of its own colour, in a role of its own; its display text, which
// the proxy sorts (by a click on the header) and filters on, is plain. "Paused" has no markup
// and is drawn as the styled delegate beside it draws it.
void TestMarkupDelegate::aMarkupRoleLeavesTheDisplayTextToSortingAndFiltering() {
    const int role = Qt::UserRole + 1;
    const QMap<QString, QColor> colours{{QStringLiteral("Queued"), Qt::red},
                                        {QStringLiteral("Done"), Qt::green},
                                        {QStringLiteral("Paused"), QColor()},
                                        {QStringLiteral("Downloading"), Qt::blue}};
    QStandardItemModel model(0, 2);
    for (const QString& text :
         QStringList{QStringLiteral("Queued"), QStringLiteral("Done"), QStringLiteral("Paused"),
                     QStringLiteral("Downloading")}) {
        auto* item = new QStandardItem(text);
        if (colours[text].isValid())
            item->setData(QStringLiteral("<Border Background='%1'/>").arg(colours[text].name()),
                          role);
        model.appendRow({item, item->clone()});
    }
    TreeWindow w(model);
    MarkupDelegate delegate;
    QStyledItemDelegate styled;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no item data role")));
    delegate.setMarkupRole(-1);
    delegate.setMarkupRole(role);
    w.view->setItemDelegateForColumn(0, &delegate);
    w.view->setItemDelegateForColumn(1, &styled);
    w.view->setSortingEnabled(true);
    w.view->sortByColumn(-1, Qt::AscendingOrder);
    w.show();
    QTest::mouseClick(w.handle(), Qt::LeftButton, {}, w.header(0));
    for (const QString& filter : {QString(), QStringLiteral("Do")}) {
        w.proxy.setFilterFixedString(filter);
        Window::settle();
        const QStringList order = colours.keys().filter(filter);
        const QImage shown = delegatetest::shot(w.viewport());
        QCOMPARE(w.proxy.rowCount(), order.size());
        for (int r = 0; r < order.size(); ++r) {
            QCOMPARE(w.source(r, 0).data().toString(), order[r]);
            if (colours[order[r]].isValid())
                QCOMPARE(shown.pixelColor(w.cell(r, 0).center()), colours[order[r]]);
            else
                QCOMPARE(shown.copy(w.cell(r, 0)), shown.copy(w.cell(r, 1)));
        }
    }
}

void TestMarkupDelegate::textWithoutForegroundTakesThePalettesColours_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("a normal row") << "normal" << QColor(0xC0, 0x10, 0x10);
    QTest::newRow("a selected row") << "selected" << QColor(0x10, 0xA0, 0x10);
    QTest::newRow("a disabled view") << "disabled" << QColor(0x10, 0x10, 0xC0);
    QTest::newRow("a model's foreground") << "foreground" << QColor(0xA0, 0x60, 0x00);
}

// Big bold letters in a cell of a view whose palette has a colour of its own for each case: the
// cell holds that colour and no black, the colour of text no host gave one.
void TestMarkupDelegate::textWithoutForegroundTakesThePalettesColours() {
    QFETCH(QString, state);
    QFETCH(QColor, colour);
    Window w;
    QPalette palette = w.view().palette();
    palette.setColor(QPalette::Text, QColor(0xC0, 0x10, 0x10));
    palette.setColor(QPalette::HighlightedText, QColor(0x10, 0xA0, 0x10));
    palette.setColor(QPalette::Highlight, QColor(0xF0, 0xF0, 0xD0));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x10, 0x10, 0xC0));
    w.view().setPalette(palette);
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index,
                    QStringLiteral("<TextBlock FontSize='18' FontWeight='Bold'>HH</TextBlock>"));
    if (state == QLatin1String("selected"))
        w.view().selectionModel()->select(index, QItemSelectionModel::Select);
    if (state == QLatin1String("disabled"))
        w.view().setEnabled(false);
    if (state == QLatin1String("foreground"))
        w.model.setData(index, QBrush(colour), Qt::ForegroundRole);
    w.show();

    const QImage shown = delegatetest::shot(w.viewport());
    int inColour = 0, black = 0;
    const QRect cell = w.cell(1, 1);
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            inColour += shown.pixelColor(x, y) == colour;
            black += qGray(shown.pixel(x, y)) < 40;
        }
    }
    QVERIFY2(inColour >= 20, qPrintable(QString::number(inColour)));
    QCOMPARE(black, 0);
}

void TestMarkupDelegate::aClickOnALinkActivatesItAndNothingElse_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("activations");
    QTest::addColumn<bool>("selects");
    QTest::newRow("a click on the link") << "click" << 1 << false;
    QTest::newRow("a double click on the link, which edits other cells") << "double" << 1 << false;
    QTest::newRow("pressed on the link, released past it") << "away" << 0 << false;
    QTest::newRow("a click past the link") << "past" << 0 << true;
    QTest::newRow("a click on the link of a disabled cell") << "disabled" << 0 << false;
    // As a drag's picture of the cell is painted: the link stays where the view shows it.
    QTest::newRow("a click on the link, the cell painted elsewhere since")
        << "elsewhere" << 1 << false;
}

// The cell (1, 1) in a table view that edits on a double click, with another cell current and
// selected: a click on its link raises linkActivated with the cell and the target, and the current
// cell, the selection and the editors stay as they were.
void TestMarkupDelegate::aClickOnALinkActivatesItAndNothingElse() {
    QFETCH(QString, gesture);
    QFETCH(int, activations);
    QFETCH(bool, selects);
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.view().setEditTriggers(QAbstractItemView::DoubleClicked);
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index, oneLink);
    if (gesture == QLatin1String("disabled"))
        w.model.itemFromIndex(index)->setEnabled(false);
    w.view().setCurrentIndex(w.model.index(3, 0));
    w.show();
    if (gesture == QLatin1String("elsewhere")) {
        QStyleOptionViewItem option;
        option.initFrom(&w.view());
        option.widget = &w.view();
        option.rect = QRect(QPoint(0, 0), w.cell(1, 1).size());
        QImage picture(option.rect.size(), QImage::Format_RGB32);
        QPainter painter(&picture);
        delegate.paint(&painter, option, index);
    }
    QSignalSpy activated(&delegate, &MarkupDelegate::linkActivated);

    if (gesture == QLatin1String("double")) {
        QTest::mouseDClick(w.handle(), Qt::LeftButton, {}, onLink(w, 1, 1));
    } else if (gesture == QLatin1String("away")) {
        QTest::mousePress(w.handle(), Qt::LeftButton, {}, onLink(w, 1, 1));
        QTest::mouseMove(w.handle(), pastText(w, 1, 1));
        QTest::mouseRelease(w.handle(), Qt::LeftButton, {}, pastText(w, 1, 1));
    } else {
        QTest::mouseClick(w.handle(), Qt::LeftButton, {},
                          gesture == QLatin1String("past") ? pastText(w, 1, 1) : onLink(w, 1, 1));
    }
    Window::settle();

    QCOMPARE(activated.count(), activations);
    if (activations)
        QCOMPARE(told(activated, 0), qMakePair(index, QStringLiteral("https://example.org/a")));
    const QModelIndex expected = selects ? index : w.model.index(3, 0);
    QCOMPARE(w.view().currentIndex(), expected);
    QCOMPARE(w.view().selectionModel()->selectedIndexes(), QModelIndexList{expected});
    QVERIFY(!w.viewport().findChild<QLineEdit*>());
}

// Over the link the viewport shows a pointing hand and the delegate tells which link; past it the
// viewport shows its own cursor again and the delegate tells of leaving, with no target.
void TestMarkupDelegate::thePointerOverALinkShowsAHandAndTellsOfIt() {
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index, oneLink);
    w.viewport().setCursor(Qt::CrossCursor);
    QVERIFY(!w.viewport().hasMouseTracking());
    w.show();
    QVERIFY(w.viewport().hasMouseTracking()); // turned on by the first paint of a link
    QSignalSpy hovered(&delegate, &MarkupDelegate::linkHovered);

    QTest::mouseMove(w.handle(), pastText(w, 1, 1)); // Qt drops a move to where the pointer is
    QTest::mouseMove(w.handle(), onLink(w, 1, 1));
    QCOMPARE(w.viewport().cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(w.handle(), onLink(w, 1, 1) + QPoint(3, 0)); // on the same link still
    QTest::mouseMove(w.handle(), pastText(w, 1, 1));
    QCOMPARE(w.viewport().cursor().shape(), Qt::CrossCursor);
    QCOMPARE(hovered.count(), 2);
    QCOMPARE(told(hovered, 0), qMakePair(index, QStringLiteral("https://example.org/a")));
    QCOMPARE(told(hovered, 1), qMakePair(index, QString()));
}

void TestMarkupDelegate::returnActivatesTheCurrentCellsLink_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<QStringList>("targets");
    QTest::newRow("one link") << oneLink << QStringList()
                              << QStringList{QStringLiteral("https://example.org/a")};
    QTest::newRow("two links, the second chosen from a menu")
        << twoLinks << QStringList{QStringLiteral("First"), QStringLiteral("Second")}
        << QStringList{QStringLiteral("https://example.org/b")};
    QTest::newRow("no link") << QStringLiteral("<TextBlock>Read more</TextBlock>") << QStringList()
                             << QStringList();
}

// Return on the current cell of a focused table view: its one link, or the one chosen from a
// menu of its links, is activated; a cell without links leaves Return to the view (activated()).
void TestMarkupDelegate::returnActivatesTheCurrentCellsLink() {
    QFETCH(QString, text);
    QFETCH(QStringList, menu);
    QFETCH(QStringList, targets);
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    const QModelIndex index = w.model.index(2, 1);
    w.model.setData(index, text);
    w.view().setFocusPolicy(Qt::StrongFocus);
    w.show();
    w.view().setFocus();
    w.view().setCurrentIndex(index);
    QSignalSpy activated(&delegate, &MarkupDelegate::linkActivated);
    QSignalSpy viewActivated(&w.view(), &QAbstractItemView::activated);

    QTest::keyClick(w.handle(), Qt::Key_Return);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(popup != nullptr, !menu.isEmpty());
    if (popup) {
        QStringList entries;
        for (QAction* action : popup->actions())
            entries << action->text();
        QCOMPARE(entries, menu);
        popup->actions().last()->trigger();
        popup->close();
    }

    QStringList heard;
    for (int i = 0; i < activated.count(); ++i) {
        QCOMPARE(told(activated, i).first, index);
        heard << told(activated, i).second;
    }
    QCOMPARE(heard, targets);
    QCOMPARE(viewActivated.count(), targets.isEmpty() ? 1 : 0);
}

void TestMarkupDelegate::aDelegatesResolverServesItsPictures_data() {
    QTest::addColumn<bool>("grid");
    QTest::newRow("MarkupDelegate") << false;
    QTest::newRow("GridDelegate") << true;
}

// A picture only the delegate's resolver knows: drawn once the delegate is given it, not before.
void TestMarkupDelegate::aDelegatesResolverServesItsPictures() {
    QFETCH(bool, grid);
    struct Red : gridgauge::markup::ImageResolver {
        QImage resolve(const QString& source, const QSize& size) override {
            if (source != QLatin1String("test:red"))
                return {};
            QImage image(size.isEmpty() ? QSize(16, 16) : size, QImage::Format_RGB32);
            image.fill(Qt::red);
            return image;
        }
    } resolver;
    Window w;
    MarkupDelegate markupDelegate;
    gridgauge::gridkit::GridDelegate gridDelegate;
    w.view().setItemDelegate(grid ? static_cast<QAbstractItemDelegate*>(&gridDelegate)
                                  : &markupDelegate);
    const QModelIndex index = w.model.index(1, 1);
    w.model.setData(index, QStringLiteral("<Image Source='test:red' Width='16' Height='16'/>"));
    w.show();
    const auto reds = [&] {
        const QImage shown = delegatetest::shot(w.viewport());
        int count = 0;
        const QRect cell = w.cell(1, 1);
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                count += shown.pixelColor(x, y) == QColor(Qt::red);
        return count;
    };
    QCOMPARE(reds(), 0); // the built-in policy reads no such picture
    if (grid)
        gridDelegate.setImageResolver(&resolver);
    else
        markupDelegate.setImageResolver(&resolver);
    Window::settle();
    QCOMPARE(reds(), 16 * 16);
    QCOMPARE(grid ? gridDelegate.imageResolver() : markupDelegate.imageResolver(), &resolver);
}

// An underline lies at the foot of its line, partly below the line's box; it shows when the view
// is painted inside its frame and window (on screen, or grabbed whole) as when its viewport is.
void TestMarkupDelegate::anUnderlineShowsWhenTheWindowIsPainted() {
    Window w;
    MarkupDelegate delegate;
    w.view().setItemDelegate(&delegate);
    w.view().setFrameShape(QFrame::StyledPanel);
    w.view().verticalHeader()->setDefaultSectionSize(30);
    w.model.setData(w.model.index(0, 0),
                    QStringLiteral("<TextBlock VerticalAlignment='Center' Foreground='Black'>"
                                   "<Underline>User guide</Underline></TextBlock>"));
    w.show();
    const QImage shown = w.window.grab().toImage();
    const qreal ratio = shown.devicePixelRatio();
    const QRect cell(w.at(w.cell(0, 0).topLeft()), w.cell(0, 0).size());
    const QRect pixels(QPoint(qRound(cell.left() * ratio), qRound(cell.top() * ratio)),
                       cell.size() * ratio);
    const int text =
        qRound(QFontMetricsF(w.view().font()).horizontalAdvance(u"User guide"_qs) * ratio);
    int longest = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        int ink = 0;
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ink += qGray(shown.pixel(x, y)) < 128;
        longest = std::max(longest, ink);
    }
    QVERIFY2(
        longest >= text * 9 / 10,
        qPrintable(
            QStringLiteral("the longest row of ink is %1 pixels of %2").arg(longest).arg(text)));
}

QTEST_MAIN(TestMarkupDelegate)
#include "test_markup_delegate.moc"
