// Qt's own QTableView over a hundred thousand rows, scrolled one page at a time as a click in the
// scroll bar's groove does, from the scroll to the pixels: MarkupDelegate drawing the program's
// nested progress caption in every cell beside the usual delegate that draws the same bar as HTML
// through a QTextDocument, and ProgressDelegate in each of its looks (the style's bar and the
// gradient bar) beside a QStyledItemDelegate that draws the style's own progress bar.
#include "event_to_pixels.h"
#include "peer_cells.h"
#include "progress/markup.h"
#include "ratio_report.h"

#include "gridgauge/gridkit/markup_delegate.h"
#include "gridgauge/gridkit/progress_delegate.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QStyleOptionProgressBar>
#include <QTableView>
#include <QTest>
#include <QTextDocument>

#include <memory>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 4;
constexpr int ColumnWidth = 100;
constexpr int RowHeight = 20;

// Every cell shows one text, or a percentage that changes from row to row.
class Table : public QAbstractTableModel {
public:
    explicit Table(QString text)
        : text_(std::move(text)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Rows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Columns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (text_.isEmpty())
            return (index.row() * 7 + index.column()) % 101;
        return text_;
    }

private:
    QString text_;
};

const QString& html = bench::progressCellHtml();

// The usual rich-text delegate: the item as the style draws it without its text, and the text
// as a QTextDocument made from it, in the cell less the same padding.
class HtmlDelegate : public QStyledItemDelegate {
public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(item.font);
        document.setHtml(item.text);
        item.text.clear();
        option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);
        const QRect box = option.rect.adjusted(2, 1, -2, -1);
        document.setTextWidth(box.width());
        painter->save();
        painter->translate(box.topLeft());
        document.drawContents(painter, QRectF(QPointF(), box.size()));
        painter->restore();
    }
};

// The usual progress cell: the style's own bar with its percentage.
class StyledProgressDelegate : public QStyledItemDelegate {
public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QStyleOptionProgressBar bar = bench::styledProgressBar(
            option.widget, option.rect.adjusted(2, 1, -2, -1), index.data().toInt());
        option.widget->style()->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
    }
};

// A shown table of the model's rows in cells of 100 x 20, with its own scroll bar.
struct Shown {
    Shown(QAbstractItemModel& model, QAbstractItemDelegate& delegate) {
        view.setModel(&model);
        view.setItemDelegate(&delegate);
        view.verticalHeader()->hide();
        view.verticalHeader()->setMinimumSectionSize(1);
        view.verticalHeader()->setDefaultSectionSize(RowHeight);
        view.horizontalHeader()->setDefaultSectionSize(ColumnWidth);
        view.resize(Columns * ColumnWidth + 40, 320);
        view.show();
    }
    QTableView view;
};

// Each iteration moves the view one page down (back to the top past the end) and lets the window
// paint what that invalidated.
void scrollByPages(benchmark::State& state, QAbstractItemModel& model,
                   QAbstractItemDelegate& delegate) {
    Shown shown(model, delegate);
    if (!QTest::qWaitForWindowExposed(&shown.view))
        state.SkipWithError("window not exposed");
    QCoreApplication::processEvents();
    QScrollBar& bar = *shown.view.verticalScrollBar();
    bench::PaintCount painted(*shown.view.viewport());
    for (auto _ : state) {
        if (bar.value() == bar.maximum())
            bar.setValue(0);
        else
            bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
        bench::paintPending(shown.view);
    }
    if (painted.paints < int(state.iterations()))
        state.SkipWithError("a page was not painted");
    QCoreApplication::processEvents();
}

void BM_delegate_markup_scroll(benchmark::State& state) {
    Table model(BuildNestedMarkup(ColumnWidth, RowHeight, 75));
    gridgauge::gridkit::MarkupDelegate delegate;
    scrollByPages(state, model, delegate);
}
BENCHMARK(BM_delegate_markup_scroll)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_delegate_html_scroll(benchmark::State& state) {
    Table model(html);
    HtmlDelegate delegate;
    scrollByPages(state, model, delegate);
}
BENCHMARK(BM_delegate_html_scroll)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void progressScroll(benchmark::State& state, gridgauge::gridkit::ProgressDelegate::Look look) {
    Table model{QString()};
    gridgauge::gridkit::ProgressDelegate delegate;
    delegate.setLook(look);
    scrollByPages(state, model, delegate);
}

void BM_delegate_progress_style_scroll(benchmark::State& state) {
    progressScroll(state, gridgauge::gridkit::ProgressDelegate::Look::Style);
}
BENCHMARK(BM_delegate_progress_style_scroll)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

void BM_delegate_progress_gradient_scroll(benchmark::State& state) {
    progressScroll(state, gridgauge::gridkit::ProgressDelegate::Look::Gradient);
}
BENCHMARK(BM_delegate_progress_gradient_scroll)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

void BM_delegate_styled_progress_scroll(benchmark::State& state) {
    Table model{QString()};
    StyledProgressDelegate delegate;
    scrollByPages(state, model, delegate);
}
BENCHMARK(BM_delegate_styled_progress_scroll)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        bench::printRatio("delegate_markup_scroll",
                          r.median("BM_delegate_markup_scroll", Clock::Cpu) /
                              r.median("BM_delegate_html_scroll", Clock::Cpu),
                          "0.25");
        for (const char* look : {"style", "gradient"}) {
            const std::string name = std::string("delegate_progress_") + look + "_scroll";
            bench::printRatio(name,
                              r.median("BM_" + name, Clock::Cpu) /
                                  r.median("BM_delegate_styled_progress_scroll", Clock::Cpu),
                              "1.0");
        }
    });
}
