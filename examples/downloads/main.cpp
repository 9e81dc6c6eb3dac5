// Downloads: ten thousand files in a QTableView, each with a progress bar that GridKit's
// ProgressDelegate draws and a status badge, a markup caption that its MarkupDelegate draws.
//
//   downloads [--quit-after MS] [--grab FILE]
//
// --quit-after ends it after MS milliseconds; --grab saves the window, as painted, to FILE as it
// ends (PNG, PPM or any format Qt writes, by the file's extension).
#include "downloads_model.h"

#include <gridgauge/gridkit/markup_delegate.h>
#include <gridgauge/gridkit/markup_text_model.h>
#include <gridgauge/gridkit/progress_delegate.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int Rows = 10000;

struct Options {
    int quitAfter = -1;
    QString grab;
};

Options parse(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ten thousand downloads in a table view."));
    parser.addHelpOption();
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
                                       QStringLiteral("Quit after <ms> milliseconds."),
                                       QStringLiteral("ms"));
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Save the window to <file> on quitting."),
                                  QStringLiteral("file"));
    parser.addOptions({quitAfter, grab});
    parser.process(app);
    Options options;
    if (parser.isSet(quitAfter)) {
        bool ok = false;
        options.quitAfter = parser.value(quitAfter).toInt(&ok);
        if (!ok || options.quitAfter < 0)
            parser.showHelp(2);
    }
    options.grab = parser.value(grab);
    return options;
}

void setUp(QTableView& view, DownloadsModel& model) {
    // Screen readers read the model: over MarkupTextModel a badge reads as its text.
    auto* readable = new gridgauge::gridkit::MarkupTextModel(&view);
    readable->setSourceModel(&model);
    view.setModel(readable);
    // The gradient bar, whatever the desktop's style: the downloads window keeps one look.
    auto* progress = new gridgauge::gridkit::ProgressDelegate(&view);
    progress->setLook(gridgauge::gridkit::ProgressDelegate::Look::Gradient);
    view.setItemDelegateForColumn(DownloadsModel::Progress, progress);
    view.setItemDelegateForColumn(DownloadsModel::Status,
                                  new gridgauge::gridkit::MarkupDelegate(&view));
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(22);
    view.setColumnWidth(DownloadsModel::Name, 200);
    view.setColumnWidth(DownloadsModel::Progress, 220);
    view.horizontalHeader()->setStretchLastSection(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setWindowTitle(QStringLiteral("Downloads"));
    view.resize(600, 400);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Options options = parse(app);

    DownloadsModel model(Rows);
    QTableView view;
    setUp(view, model);
    view.show();
    model.start(40);

    if (options.quitAfter >= 0) {
        QTimer::singleShot(options.quitAfter, &app, [&] {
            if (!options.grab.isEmpty() && !view.grab().save(options.grab)) {
                std::fprintf(stderr, "downloads: cannot save %s\n", qPrintable(options.grab));
                QApplication::exit(1);
                return;
            }
            QApplication::quit();
        });
    }
    return app.exec();
}
