#include "markup.h"

#include "gridgauge/host/checked.h"

#include <cmath>

using namespace host;

namespace {

// A whole number held as a double, as decimal text; a negative zero is written "0".
QString wholeNumberText(double value) {
    return value == 0.0 ? QStringLiteral("0") : QString::number(value, 'f', 0);
}

} // namespace

QString BuildNestedMarkup(qint32 cellWidth, qint32 cellHeight, qint32 percent) {
    const qint32 H = checked::subtract(cellHeight, 2);
    const qint32 I = checked::subtract(cellWidth, 8);
    // In exactly this order: 57 / 100 * 100 is 56.99999999999999 and must floor to 56.
    const double W = std::floor(checked::finite(double(percent) / 100.0 * double(I)));
    const QString P = QString::number(percent);

    QString text;
    text.reserve(760);
    text += QLatin1StringView("<Border Padding='");
    text += QLatin1StringView("1");
    text += QLatin1StringView("' Height='");
    text += QString::number(H);
    text += QLatin1StringView("' BorderThickness='");
    text += QLatin1StringView("1");
    text += QLatin1StringView("'BorderBrush='#5E7293'>");
    text += QLatin1StringView("<Border.Background>");
    text += QLatin1StringView("<LinearGradientBrush StartPoint='0, 0' EndPoint='0,1'>");
    text += QLatin1StringView(" <GradientStop Color='#C0CBDF' Offset='0'/>");
    text += QLatin1StringView(" <GradientStop Color='#DCE9FA' Offset='1'/>");
    text += QLatin1StringView("</LinearGradientBrush>");
    text += QLatin1StringView("</Border.Background>");
    text += QLatin1StringView("<Border Width='");
    text += wholeNumberText(W);
    text += QLatin1StringView("' BorderBrush='#658C4B' BorderThickness='");
    text += QLatin1StringView("1");
    text += QLatin1StringView("' HorizontalAlignment='Left' VerticalAlignment='Center'>");
    text += QLatin1StringView("<Border.Background>");
    text += QLatin1StringView("<LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>");
    text += QLatin1StringView("<GradientStop Color='#658C4B' Offset='0'/>");
    text += QLatin1StringView("<GradientStop Color='#A4DB64' Offset='1'/>");
    text += QLatin1StringView("</LinearGradientBrush>");
    text += QLatin1StringView("</Border.Background>");
    text += QLatin1StringView("<TextBlock FontWeight='Bold' VerticalAlignment='Center' "
                              "HorizontalAlignment='Center' Foreground='White'>");
    text += P;
    text += QLatin1StringView("%</TextBlock>");
    text += QLatin1StringView("</Border>");
    text += QLatin1StringView("</Border>");
    return text;
}

QString BuildProgressMarkup(qint32 width, qint32 percent) {
    const qint32 T = checked::subtract(width, 4);
    const qint32 B = checked::toInt32(double(percent) / 100.0 * double(T));
    const QString P = QString::number(percent);

    QString text;
    text.reserve(920);
    text += QLatin1StringView("<StackPanel Width='");
    text += QString::number(T);
    text += QLatin1StringView(
        "'><Grid><Grid.ColumnDefinitions><ColumnDefinition /></Grid.ColumnDefinitions>");
    text += QLatin1StringView("<Border Grid.Column='0' Background='Blue' BorderThickness='1px' "
                              "MinHeight = '16' BorderBrush='#5E7293'>");
    text += QLatin1StringView(
        "<Border.Background><LinearGradientBrush StartPoint='0, 0' EndPoint='0,1'><GradientStop "
        "Color='#C0CBDF' Offset='0'/><GradientStop Color='#DCE9FA' "
        "Offset='1'/></LinearGradientBrush></Border.Background></Border>");
    text += QLatin1StringView("<Border Grid.Column='0' Width='");
    text += QString::number(B);
    text += QLatin1StringView(
        "px' HorizontalAlignment='Left' BorderThickness='1px' "
        "BorderBrush='#5E7293'><Border.Background><LinearGradientBrush StartPoint='0, 0' "
        "EndPoint='1,0'><GradientStop Color='#658C4B' Offset='0'/><GradientStop Color='#A4DB64' "
        "Offset='1'/></LinearGradientBrush></Border.Background></Border>");
    text += QLatin1StringView("<Border Grid.Column='0'><TextBlock VerticalAlignment='Center' "
                              "HorizontalAlignment='Center' Foreground='White'><Bold>");
    text += P;
    text += QLatin1StringView("%</Bold></TextBlock></Border></Grid></StackPanel>");
    return text;
}
