// Markup bars in a plain QTableView: each cell's text is a markup caption that MarkupDelegate
// paints.
#include <gridgauge/gridkit/markup_delegate.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>

QString bar(int percent) { // a gradient bar over percent of the cell, the rest its track
    return QStringLiteral("<Border BorderThickness='1' BorderBrush='#5E7293' Background='#DCE9FA'>"
                          "<Grid><Grid.ColumnDefinitions><ColumnDefinition Width='%1*'/>"
                          "<ColumnDefinition Width='%2*'/></Grid.ColumnDefinitions><Border>"
                          "<Border.Background><LinearGradientBrush EndPoint='1,0'>"
                          "<GradientStop Color='#658C4B' Offset='0'/><GradientStop Color='#A4DB64' "
                          "Offset='1'/></LinearGradientBrush></Border.Background></Border></Grid>"
                          "</Border>")
        .arg(percent)
        .arg(100 - percent);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStandardItemModel model(10, 1);
    for (int row = 0; row < model.rowCount(); ++row)
        model.setData(model.index(row, 0), bar(10 * row + 5));
    QTableView view;
    view.setModel(&model);
    view.setItemDelegateForColumn(0, new gridgauge::gridkit::MarkupDelegate(&view));
    view.show();
    return app.exec();
}
