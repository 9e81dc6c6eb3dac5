// Links in a plain QTableView: each page's link is a markup Hyperlink that MarkupDelegate draws
// and lets the user click (or reach with the arrows and Return); the program opens what is
// activated in the desktop's browser. Its status shows a picture bundled as a Qt resource.
//
//   link_table [--quit-after MS] [--grab FILE]
//
// --quit-after ends it after MS milliseconds; --grab saves the window, as painted, to FILE as it
// ends (PNG, PPM or any format Qt writes, by the file's extension).
#include <gridgauge/gridkit/markup_delegate.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDesktopServices>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

// A row's link, and its mirror's, as markup; a cell with two offers a menu of them on Return.
QString links(const char* text, const char* url, bool mirror) {
    QString markup = QStringLiteral("<TextBlock VerticalAlignment='Center'><Hyperlink "
                                    "NavigateUri='https://example.org/%2'>%1</Hyperlink>")
                         .arg(QLatin1String(text), QLatin1String(url));
    if (mirror)
        markup += QStringLiteral(" · <Hyperlink NavigateUri='https://example.org/%1/mirror'>"
                                 "mirror</Hyperlink>")
                      .arg(QLatin1String(url));
    return markup + QStringLiteral("</TextBlock>");
}

// The status's picture (a resource of this program's, see CMakeLists.txt) and its name.
QString status(const char* picture, const char* text) {
    return QStringLiteral(
               "<StackPanel Orientation='Horizontal'><Image Source=':/link_table/%1.xpm' "
               "Width='16' Height='16' Margin='0,0,5,0'/><TextBlock "
               "VerticalAlignment='Center'>%2</TextBlock></StackPanel>")
        .arg(QLatin1String(picture), QLatin1String(text));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
                                       QStringLiteral("Quit after <ms> milliseconds."),
                                       QStringLiteral("ms"));
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Save the window to <file> on quitting."),
                                  QStringLiteral("file"));
    parser.addOptions({quitAfter, grab});
    parser.process(app);

    const char* const pages[][5] = {
        {"User guide", "guide", nullptr, "current", "Current"},
        {"Release notes", "releases", "mirror", "current", "Current"},
        {"Design notes", "design", nullptr, "draft", "Draft"},
        {"Old manual", "manual-1", nullptr, "retired", "Retired"},
    };
    QStandardItemModel model(0, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral("Page"), QStringLiteral("Link"), QStringLiteral("Status")});
    for (const auto& page : pages) {
        auto* link = new QStandardItem(links(page[0], page[1], page[2] != nullptr));
        auto* state = new QStandardItem(status(page[3], page[4]));
        link->setEditable(false);
        state->setEditable(false);
        model.appendRow({new QStandardItem(QString::fromUtf8(page[0])), link, state});
    }

    QTableView view;
    view.setWindowTitle(QStringLiteral("Pages"));
    view.setModel(&model);
    auto* delegate = new gridgauge::gridkit::MarkupDelegate(&view);
    view.setItemDelegateForColumn(1, delegate);
    view.setItemDelegateForColumn(2, delegate);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.verticalHeader()->hide();
    view.horizontalHeader()->setStretchLastSection(true);
    view.setColumnWidth(0, 120);
    view.setColumnWidth(1, 170);
    view.resize(420, 150);
    // The library never opens a link: the program decides what activating one does.
    QObject::connect(
        delegate, &gridgauge::gridkit::MarkupDelegate::linkActivated,
        [](const QModelIndex&, const QString& target) { QDesktopServices::openUrl(QUrl(target)); });
    view.show();

    if (parser.isSet(quitAfter)) {
        QTimer::singleShot(parser.value(quitAfter).toInt(), &app, [&] {
            const QString file = parser.value(grab);
            if (!file.isEmpty() && !view.grab().save(file)) {
                std::fprintf(stderr, "link_table: cannot save %s\n", qPrintable(file));
                QApplication::exit(1);
                return;
            }
            QApplication::quit();
        });
    }
    return app.exec();
}
