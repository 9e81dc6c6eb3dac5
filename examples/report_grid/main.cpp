// Chores: a report grid over a QStandardItemModel, seen through a QSortFilterProxyModel that
// the line above it filters. Each chore has a check box to tick it done, a markup badge that
// follows the box, and two buttons: "Start" marks it under way, "Remove" takes it off the list.
// A header click sorts.
//
//   report_grid [--quit-after MS] [--grab FILE]
//
// --quit-after ends it after MS milliseconds; --grab saves the window, as painted, to FILE as it
// ends (PNG, PPM or any format Qt writes, by the file's extension).
#include <gridgauge/gridkit/report_grid.h>
#include <gridgauge/gridkit/roles.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {

enum Column { Chore, Done, Status, Actions, Columns };
enum class State { ToDo, Started, Finished };

// A rounded badge in the state's colours, its caption in white.
QString badge(State state) {
    static const char* const looks[][3] = {
        {"To do", "#8A929E", "#6B7280"},
        {"Started", "#3C78C8", "#2F5F9E"},
        {"Done", "#4E9A3A", "#3F7F2F"},
    };
    const auto& look = looks[static_cast<int>(state)];
    return QStringLiteral("<Border CornerRadius='7' BorderThickness='1' BorderBrush='%3' "
                          "Background='%2' Padding='7,0' Margin='2,1' HorizontalAlignment='Left' "
                          "VerticalAlignment='Center'><TextBlock Foreground='White' "
                          "FontWeight='Bold'>%1</TextBlock></Border>")
        .arg(QLatin1String(look[0]), QLatin1String(look[1]), QLatin1String(look[2]));
}

void setState(QStandardItemModel& model, int row, State state) {
    model.item(row, Status)->setData(badge(state), Qt::DisplayRole);
    model.item(row, Status)->setData(static_cast<int>(state), Qt::UserRole);
    model.item(row, Done)->setCheckState(state == State::Finished ? Qt::Checked : Qt::Unchecked);
}

void fill(QStandardItemModel& model) {
    model.setHorizontalHeaderLabels({QStringLiteral("Chore"), QStringLiteral("Done"),
                                     QStringLiteral("Status"), QStringLiteral("")});
    const char* const chores[] = {"Water the plants", "Pay the rent",  "Fix the bike",
                                  "Call the plumber", "Sort the post", "Back up the laptop"};
    for (const char* chore : chores) {
        auto* done = new QStandardItem;
        done->setCheckable(true);
        done->setEditable(false);
        auto* status = new QStandardItem;
        status->setEditable(false);
        auto* actions = new QStandardItem;
        actions->setData(QStringList{QStringLiteral("Start"), QStringLiteral("Remove")},
                         gridgauge::gridkit::ButtonsRole);
        actions->setEditable(false);
        model.appendRow({new QStandardItem(QString::fromUtf8(chore)), done, status, actions});
        setState(model, model.rowCount() - 1, State::ToDo);
    }
}

// Sorts the status column by state, not by its markup's text; the rest as Qt does.
class ChoresProxy : public QSortFilterProxyModel {
protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        if (left.column() == Status)
            return left.data(Qt::UserRole).toInt() < right.data(Qt::UserRole).toInt();
        return QSortFilterProxyModel::lessThan(left, right);
    }
};

struct Options {
    int quitAfter = -1;
    QString grab;
};

Options parse(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Chores in a report grid."));
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

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Options options = parse(app);

    QStandardItemModel model;
    fill(model);
    ChoresProxy proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(Chore);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Chores"));
    auto* filter = new QLineEdit;
    filter->setPlaceholderText(QStringLiteral("Filter chores"));
    filter->setClearButtonEnabled(true);
    auto* grid = new gridgauge::gridkit::ReportGrid;
    grid->setModel(&proxy);
    grid->setSortingEnabled(true);
    grid->setColumnWidth(Chore, 170);
    grid->setColumnWidth(Done, 50);
    grid->setColumnWidth(Actions, 130);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(filter);
    layout->addWidget(grid);
    window.resize(500, 260);

    QObject::connect(filter, &QLineEdit::textChanged, &proxy,
                     &QSortFilterProxyModel::setFilterFixedString);
    // The proxy's indexes stand for the model's rows wherever they are shown.
    QObject::connect(grid, &gridgauge::gridkit::ReportGrid::buttonClicked, &model,
                     [&](const QModelIndex& index, int button) {
                         const int row = proxy.mapToSource(index).row();
                         if (button == 0)
                             setState(model, row, State::Started);
                         else
                             model.removeRow(row);
                     });
    QObject::connect(&model, &QStandardItemModel::itemChanged, &model, [&](QStandardItem* item) {
        if (item->column() != Done)
            return;
        const bool ticked = item->checkState() == Qt::Checked;
        const auto state =
            static_cast<State>(model.item(item->row(), Status)->data(Qt::UserRole).toInt());
        if (ticked != (state == State::Finished))
            setState(model, item->row(), ticked ? State::Finished : State::ToDo);
    });

    window.show();
    if (options.quitAfter >= 0) {
        QTimer::singleShot(options.quitAfter, &app, [&] {
            if (!options.grab.isEmpty() && !window.grab().save(options.grab)) {
                std::fprintf(stderr, "report_grid: cannot save %s\n", qPrintable(options.grab));
                QApplication::exit(1);
                return;
            }
            QApplication::quit();
        });
    }
    return app.exec();
}
