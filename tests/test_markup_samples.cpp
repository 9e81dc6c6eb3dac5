#include "markup_samples.h"

namespace samples {

const QString nested = QStringLiteral(
    "<Border Padding='1' Height='18' BorderThickness='1'BorderBrush='#5E7293'><Border.Background>"
    "<LinearGradientBrush StartPoint='0, 0' EndPoint='0,1'> <GradientStop Color='#C0CBDF' "
    "Offset='0'/> <GradientStop Color='#DCE9FA' Offset='1'/></LinearGradientBrush>"
    "</Border.Background><Border Width='69' BorderBrush='#658C4B' BorderThickness='1' "
    "HorizontalAlignment='Left' VerticalAlignment='Center'><Border.Background>"
    "<LinearGradientBrush StartPoint='0,0' EndPoint='1,0'><GradientStop Color='#658C4B' "
    "Offset='0'/><GradientStop Color='#A4DB64' Offset='1'/></LinearGradientBrush>"
    "</Border.Background><TextBlock FontWeight='Bold' VerticalAlignment='Center' "
    "HorizontalAlignment='Center' Foreground='White'>75%</TextBlock></Border></Border>");

const QString layered = QStringLiteral(
    "<StackPanel Width='96'><Grid><Grid.ColumnDefinitions><ColumnDefinition />"
    "</Grid.ColumnDefinitions><Border Grid.Column='0' Background='Blue' BorderThickness='1px' "
    "MinHeight = '16' BorderBrush='#5E7293'><Border.Background><LinearGradientBrush "
    "StartPoint='0, 0' EndPoint='0,1'><GradientStop Color='#C0CBDF' Offset='0'/><GradientStop "
    "Color='#DCE9FA' Offset='1'/></LinearGradientBrush></Border.Background></Border><Border "
    "Grid.Column='0' Width='72px' HorizontalAlignment='Left' BorderThickness='1px' "
    "BorderBrush='#5E7293'><Border.Background><LinearGradientBrush StartPoint='0, 0' "
    "EndPoint='1,0'><GradientStop Color='#658C4B' Offset='0'/><GradientStop Color='#A4DB64' "
    "Offset='1'/></LinearGradientBrush></Border.Background></Border><Border Grid.Column='0'>"
    "<TextBlock VerticalAlignment='Center' HorizontalAlignment='Center' Foreground='White'><Bold>"
    "75%</Bold></TextBlock></Border></Grid></StackPanel>");

QString nestedWith(const QString& barWidth, const QString& height, const QString& percent) {
    return QString(nested)
        .replace(QStringLiteral("Width='69'"), QStringLiteral("Width='%1'").arg(barWidth))
        .replace(QStringLiteral("Height='18'"), QStringLiteral("Height='%1'").arg(height))
        .replace(QStringLiteral(">75%<"), QStringLiteral(">%1%<").arg(percent));
}

QString layeredWith(const QString& track, const QString& bar, const QString& percent) {
    return QString(layered)
        .replace(QStringLiteral("Width='96'"), QStringLiteral("Width='%1'").arg(track))
        .replace(QStringLiteral("Width='72px'"), QStringLiteral("Width='%1px'").arg(bar))
        .replace(QStringLiteral(">75%<"), QStringLiteral(">%1%<").arg(percent));
}

} // namespace samples
