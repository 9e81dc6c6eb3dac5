// The drawings markup cells keep, built and driven on their own: a text parsed once for every
// cell showing it, a layout for each cell, a caption a cell showed before taken up again, and
// the one guard every view and delegate reads a caption through.
#include "cell_drawings.h"

#include "parse_count.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace gridgauge::gridkit;

class TestGridParts : public QObject {
    Q_OBJECT

private slots:
    void cellsShowingOneTextShareItsDocumentAndLayOutOnceEach();
    void aCellBackAtACaptionItShowedLaysNothingOutAgain();
    void onlyATagOpensATextAndOnlyWithinTheBound_data();
    void onlyATagOpensATextAndOnlyWithinTheBound();
};

void TestGridParts::onlyATagOpensATextAndOnlyWithinTheBound_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("markup");
    const QString element = QStringLiteral("<TextBlock>x</TextBlock>");
    QTest::newRow("an element") << element << true;
    QTest::newRow("blanks before it") << " \n " + element << true;
    QTest::newRow("text before it") << "a" + element << false;
    QTest::newRow("as long as the bound allows")
        << "<TextBlock>" + QString(detail::kMaxMarkupLength - 23, u'x') + "</TextBlock>" << true;
    QTest::newRow("one longer") << "<TextBlock>" + QString(detail::kMaxMarkupLength - 22, u'x') +
                                       "</TextBlock>"
                                << false;
}

void TestGridParts::onlyATagOpensATextAndOnlyWithinTheBound() {
    QFETCH(QString, text);
    QFETCH(bool, markup);
    QCOMPARE(detail::markupDocument(text) != nullptr, markup);
    QCOMPARE(detail::CellDrawings().find({0, 0}, text, QSize(50, 20)) != nullptr, markup);
}

void TestGridParts::cellsShowingOneTextShareItsDocumentAndLayOutOnceEach() {
    const QString text = QStringLiteral(
        "<Border Background='#2060C0'><TextBlock>shared by two cells</TextBlock></Border>");
    detail::CellDrawings drawings;
    const quint64 parsed = gridgauge::markup::parseCount();
    QImage image(300, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int paint = 0; paint < 3; ++paint) {
        drawings.find({0, 1}, text)->paint(painter, QRectF(0, 0, 80, 20), QFont());
        drawings.find({0, 2}, text)->paint(painter, QRectF(0, 20, 200, 20), QFont());
    }
    QCOMPARE(gridgauge::markup::parseCount(), parsed + 1);
    gridgauge::markup::Drawing* narrow = drawings.find({0, 1}, text);
    gridgauge::markup::Drawing* wide = drawings.find({0, 2}, text);
    QVERIFY(narrow != wide);
    QCOMPARE(narrow->document(), wide->document());
    QCOMPARE(narrow->layoutCount(), quint64(1));
    QCOMPARE(wide->layoutCount(), quint64(1));
    // Another caption in the cell is another drawing; plain text is none.
    QVERIFY(!drawings.find({0, 1}, QStringLiteral("plain")));
    QVERIFY(drawings.find({0, 2}, text) == wide);
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
        gridgauge::markup::Drawing* drawing = drawings.find({3, columnId}, caption, in);
        const quint64 before = drawing->layoutCount();
        drawing->paint(painter, QRectF(QPointF(), in), QFont());
        return before;
    };
    QCOMPARE(paint(1, bar(75), size), quint64(0));
    QCOMPARE(paint(1, bar(76), size), quint64(0));
    QCOMPARE(paint(1, bar(75), size), quint64(1)); // laid out before
    QCOMPARE(paint(1, bar(76), size), quint64(1));
    QCOMPARE(paint(2, bar(75), QSize(120, 18)), quint64(0)); // not the 80-pixel one
    drawings.forget({3, 1});                                 // the cell's caption changed
    QCOMPARE(paint(2, bar(76), size), quint64(1));           // 76 at 80 pixels, laid aside
    drawings.clear();
    QCOMPARE(paint(1, bar(75), size), quint64(0));
}

QTEST_MAIN(TestGridParts)
#include "test_gridkit_parts.moc"
