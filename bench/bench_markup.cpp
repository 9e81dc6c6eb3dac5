// One progress caption in a 100 x 20 cell, painted four ways in the same run: the markup engine
// from the text (parse, layout and paint), the engine on a repaint (cached document and layout),
// a QTextDocument drawing an equivalent HTML cell, and the style's own progress bar. Then a
// taller caption with rows, spans and wrapped text, from its text, beside a QTextDocument table
// that spans and wraps the same way, and the size that caption asks for. Then a cell with a link
// beside an icon, from its text, beside a QTextDocument drawing the same as HTML. Ends with the
// ratios of the medians to the QTextDocument peers.
#include "gridgauge/markup/markup.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <QTextDocument>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "markup_samples.h"
#include "peer_cells.h"

namespace {

// What the program writes for a 100 x 20 cell at 75 %.
const QString& caption = samples::nested;

// The same cell as HTML through a QTextDocument.
const QString& html = bench::progressCellHtml();

const QRectF cell(0, 0, 100, 20);
const QRectF box = cell.adjusted(2, 1, -2, -1); // what the grid gives a caption

// A two-line cell: a colour strip down the left across both rows, a bold title across two
// columns, a wrapped line of text and a bar.
const QString gridCaption = QStringLiteral(
    "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='Auto'/><ColumnDefinition/>"
    "<ColumnDefinition Width='2*'/></Grid.ColumnDefinitions><Grid.RowDefinitions>"
    "<RowDefinition Height='Auto'/><RowDefinition/></Grid.RowDefinitions>"
    "<Border Grid.RowSpan='2' Width='6' Background='#5E7293'/>"
    "<TextBlock Grid.Column='1' Grid.ColumnSpan='2' FontWeight='Bold' "
    "TextTrimming='CharacterEllipsis'>Build 1234: all tests</TextBlock>"
    "<TextBlock Grid.Row='1' Grid.Column='1' TextWrapping='Wrap'>900 of 1200 passed</TextBlock>"
    "<Border Grid.Row='1' Grid.Column='2' BorderBrush='#658C4B' BorderThickness='1'>"
    "<Border.Background><LinearGradientBrush StartPoint='0,0' EndPoint='1,0'><GradientStop "
    "Color='#658C4B' Offset='0'/><GradientStop Color='#A4DB64' Offset='1'/>"
    "</LinearGradientBrush></Border.Background></Border></Grid>");

// The same in a table: spans, bold, a cell of text that wraps, the bar in its middle colour.
const QString gridHtml = QStringLiteral(
    "<table width='156' height='38' cellspacing='0' cellpadding='0'><tr><td rowspan='2' "
    "width='6' style='background-color:#5E7293'></td><td colspan='2'><b>Build 1234: all tests"
    "</b></td></tr><tr><td>900 of 1200 passed</td><td width='100' style='background-color:"
    "#84B358; border:1px solid #658C4B'></td></tr></table>");

const QRectF tallCell(0, 0, 160, 40);
const QRectF tallBox = tallCell.adjusted(2, 1, -2, -1);

// A link beside a 16 by 16 icon from the program's resources, in a 200 x 20 cell.
const QString linkCaption = QStringLiteral(
    "<StackPanel Orientation='Horizontal'><Image Source='qrc:/bench/badge.xpm' Width='16' "
    "Height='16' Margin='0,0,4,0' VerticalAlignment='Center'/><TextBlock "
    "VerticalAlignment='Center'>See <Hyperlink NavigateUri='https://example.org/build/1234'>the "
    "build log</Hyperlink></TextBlock></StackPanel>");

// The same as HTML: QTextDocument underlines a link in the palette's link colour too.
const QString linkHtml = QStringLiteral(
    "<img src='qrc:/bench/badge.xpm' width='16' height='16' style='vertical-align:middle'>&nbsp;"
    "See <a href='https://example.org/build/1234'>the build log</a>");

const QRectF wideCell(0, 0, 200, 20);
const QRectF wideBox = wideCell.adjusted(2, 1, -2, -1);

struct Canvas {
    QImage image;
    QPainter painter;
    explicit Canvas(const QRectF& area = cell)
        : image(area.size().toSize(), QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::white);
        painter.begin(&image);
    }
};

// The peer's document for an HTML cell: no margin, the given font, laid out to the box's width.
void prepare(QTextDocument& document, const QString& text, const QRectF& area, const QFont& font) {
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setHtml(text);
    document.setTextWidth(area.width());
}

void draw(QPainter& painter, QTextDocument& document, const QRectF& area) {
    painter.save();
    painter.translate(area.topLeft());
    document.drawContents(&painter, QRectF(QPointF(), area.size()));
    painter.restore();
}

// A caption painted from its text each time, by the engine and by the peer.
void markupFromText(benchmark::State& state, const QString& text, const QRectF& area,
                    const QRectF& into) {
    Canvas canvas(area);
    const QFont font = QApplication::font();
    for (auto _ : state) {
        const markup::DocumentPtr document = markup::parse(text);
        markup::render(canvas.painter, *document, into, font);
    }
}

void peerFromText(benchmark::State& state, const QString& text, const QRectF& area,
                  const QRectF& into) {
    Canvas canvas(area);
    const QFont font = QApplication::font();
    for (auto _ : state) {
        QTextDocument document;
        prepare(document, text, into, font);
        draw(canvas.painter, document, into);
    }
}

void markup_cell_uncached(benchmark::State& state) {
    markupFromText(state, caption, cell, box);
}
BENCHMARK(markup_cell_uncached);

void markup_cell_cached(benchmark::State& state) {
    Canvas canvas;
    const QFont font = QApplication::font();
    markup::DocumentCache cache;
    for (auto _ : state) {
        if (const markup::DocumentPtr document = cache.find(caption))
            markup::render(canvas.painter, *document, box, font);
    }
}
BENCHMARK(markup_cell_cached);

void qtextdocument_cell(benchmark::State& state) {
    peerFromText(state, html, cell, box);
}
BENCHMARK(qtextdocument_cell);

// For reference: the peer without its parse, as if it kept documents too.
void qtextdocument_cell_prebuilt(benchmark::State& state) {
    Canvas canvas;
    QTextDocument document;
    prepare(document, html, box, QApplication::font());
    for (auto _ : state)
        draw(canvas.painter, document, box);
}
BENCHMARK(qtextdocument_cell_prebuilt);

void qstyle_progressbar(benchmark::State& state) {
    Canvas canvas;
    QStyleOptionProgressBar option;
    option.rect = box.toRect();
    option.minimum = 0;
    option.maximum = 100;
    option.progress = 75;
    option.text = QStringLiteral("75%");
    option.textVisible = true;
    option.textAlignment = Qt::AlignCenter;
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    option.palette = QApplication::palette();
    option.fontMetrics = QFontMetrics(QApplication::font());
    QStyle* style = QApplication::style();
    for (auto _ : state)
        style->drawControl(QStyle::CE_ProgressBar, &option, &canvas.painter);
}
BENCHMARK(qstyle_progressbar);

void markup_rows_spans_wrap_uncached(benchmark::State& state) {
    markupFromText(state, gridCaption, tallCell, tallBox);
}
BENCHMARK(markup_rows_spans_wrap_uncached);

// What a grid column or an item delegate asks of a parsed caption to size itself: a measure
// without an arrange or a paint.
void markup_rows_spans_wrap_desired_size(benchmark::State& state) {
    const QFont font = QApplication::font();
    const markup::DocumentPtr document = markup::parse(gridCaption);
    for (auto _ : state)
        benchmark::DoNotOptimize(markup::desiredSize(*document, font));
}
BENCHMARK(markup_rows_spans_wrap_desired_size);

void qtextdocument_rows_spans_wrap(benchmark::State& state) {
    peerFromText(state, gridHtml, tallCell, tallBox);
}
BENCHMARK(qtextdocument_rows_spans_wrap);

// The engine reads the icon once, as its resolver keeps it; the peer is given the icon decoded
// once as well, as a careful delegate would, so that neither side decodes it per cell.
void markup_link_image_uncached(benchmark::State& state) {
    markupFromText(state, linkCaption, wideCell, wideBox);
}
BENCHMARK(markup_link_image_uncached);

void qtextdocument_link_image(benchmark::State& state) {
    Canvas canvas(wideCell);
    const QFont font = QApplication::font();
    const QImage icon(QStringLiteral(":/bench/badge.xpm"));
    const QUrl url(QStringLiteral("qrc:/bench/badge.xpm"));
    for (auto _ : state) {
        QTextDocument document;
        document.addResource(QTextDocument::ImageResource, url, icon);
        prepare(document, linkHtml, wideBox, font);
        draw(canvas.painter, document, wideBox);
    }
}
BENCHMARK(qtextdocument_link_image);

// Keeps every repetition's CPU time per benchmark, and the median aggregate when there is one.
class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration)
                times_[name].push_back(run.GetAdjustedCPUTime());
            else if (run.aggregate_name == "median")
                medians_[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double median(const std::string& name) const {
        if (const auto m = medians_.find(name); m != medians_.end())
            return m->second;
        const auto t = times_.find(name);
        if (t == times_.end() || t->second.empty())
            return 0;
        std::vector<double> v = t->second;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);

    // Medians need repetitions; five unless asked otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    if (std::none_of(args.begin(), args.end(), [](const char* a) {
            return std::string(a).rfind("--benchmark_repetitions", 0) == 0;
        }))
        args.push_back(repetitions.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());

    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    const double peer = collector.median("qtextdocument_cell");
    auto ratio = [&](const char* label, const char* name, const char* goal,
                     const char* against = "qtextdocument_cell") {
        const double value = collector.median(name);
        const double other = collector.median(against);
        if (other > 0 && value > 0)
            std::printf("ratio %s %.3f %s\n", label, value / other, goal);
    };
    std::printf("median cpu ns: uncached %.0f cached %.0f qtextdocument %.0f prebuilt %.0f "
                "qstyle %.0f\n",
                collector.median("markup_cell_uncached"), collector.median("markup_cell_cached"),
                peer, collector.median("qtextdocument_cell_prebuilt"),
                collector.median("qstyle_progressbar"));
    ratio("markup_cell_uncached", "markup_cell_uncached", "0.20");
    ratio("markup_cell_cached", "markup_cell_cached", "-");
    ratio("qtextdocument_cell_prebuilt", "qtextdocument_cell_prebuilt", "-");
    ratio("qstyle_progressbar", "qstyle_progressbar", "-");
    std::printf("median cpu ns: rows, spans and wrapping %.0f, its qtextdocument peer %.0f\n",
                collector.median("markup_rows_spans_wrap_uncached"),
                collector.median("qtextdocument_rows_spans_wrap"));
    ratio("markup_rows_spans_wrap_uncached", "markup_rows_spans_wrap_uncached", "-",
          "qtextdocument_rows_spans_wrap");
    std::printf("median cpu ns: a link beside an icon %.0f, its qtextdocument peer %.0f\n",
                collector.median("markup_link_image_uncached"),
                collector.median("qtextdocument_link_image"));
    ratio("markup_link_image_uncached", "markup_link_image_uncached", "0.25",
          "qtextdocument_link_image");
    return 0;
}
