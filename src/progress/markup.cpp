#include "markup.h"

#include "gridgauge/host/checked.h"

#include <cmath>

using namespace host;

namespace {

// The pieces are UTF-16 literals, appended as they lie: a drag writes a caption at every move.

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
    text += QStringView(u"<Border Padding='");
    text += QStringView(u"1");
    text += QStringView(u"' Height='");
    text += QString::number(H);
    text += QStringView(u"' BorderThickness='");
    text += QStringView(u"1");
    text += QStringView(u"'BorderBrush='#5E7293'>");
    text += QStringView(u"<Border.Background>");
    text += QStringView(u"<LinearGradientBrush StartPoint='0, 0' EndPoint='0,1'>");
    text += QStringView(u" <GradientStop Color='#C0CBDF' Offset='0'/>");
    text += QStringView(u" <GradientStop Color='#DCE9FA' Offset='1'/>");
    text += QStringView(u"</LinearGradientBrush>");
    text += QStringView(u"</Border.Background>");
    text += QStringView(u"<Border Width='");
    text += wholeNumberText(W);
    text += QStringView(u"' BorderBrush='#658C4B' BorderThickness='");
    text += QStringView(u"1");
    text += QStringView(u"' HorizontalAlignment='Left' VerticalAlignment='Center'>");
    text += QStringView(u"<Border.Background>");
    text += QStringView(u"<LinearGradientBrush StartPoint='0,0' EndPoint='1,0'>");
    text += QStringView(u"<GradientStop Color='#658C4B' Offset='0'/>");
    text += QStringView(u"<GradientStop Color='#A4DB64' Offset='1'/>");
    text += QStringView(u"</LinearGradientBrush>");
    text += QStringView(u"</Border.Background>");
    text += QStringView(u"<TextBlock FontWeight='Bold' VerticalAlignment='Center' "
                        u"HorizontalAlignment='Center' Foreground='White'>");
    text += P;
    text += QStringView(u"%</TextBlock>");
    text += QStringView(u"</Border>");
    text += QStringView(u"</Border>");
    return text;
}

QString BuildProgressMarkup(qint32 width, qint32 percent) {
    const qint32 T = checked::subtract(width, 4);
    const qint32 B = checked::toInt32(double(percent) / 100.0 * double(T));
    const QString P = QString::number(percent);

    QString text;
    text.reserve(920);
    text += QStringView(u"<StackPanel Width='");
    text += QString::number(T);
    text += QStringView(
        u"'><Grid><Grid.ColumnDefinitions><ColumnDefinition /></Grid.ColumnDefinitions>");
    text += QStringView(u"<Border Grid.Column='0' Background='Blue' BorderThickness='1px' "
                        u"MinHeight = '16' BorderBrush='#5E7293'>");
    text += QStringView(
        u"<Border.Background><LinearGradientBrush StartPoint='0, 0' EndPoint='0,1'><GradientStop "
        u"Color='#C0CBDF' Offset='0'/><GradientStop Color='#DCE9FA' "
        u"Offset='1'/></LinearGradientBrush></Border.Background></Border>");
    text += QStringView(u"<Border Grid.Column='0' Width='");
    text += QString::number(B);
    text += QStringView(
        u"px' HorizontalAlignment='Left' BorderThickness='1px' "
        u"BorderBrush='#5E7293'><Border.Background><LinearGradientBrush StartPoint='0, 0' "
        u"EndPoint='1,0'><GradientStop Color='#658C4B' Offset='0'/><GradientStop Color='#A4DB64' "
        u"Offset='1'/></LinearGradientBrush></Border.Background></Border>");
    text += QStringView(u"<Border Grid.Column='0'><TextBlock VerticalAlignment='Center' "
                        u"HorizontalAlignment='Center' Foreground='White'><Bold>");
    text += P;
    text += QStringView(u"%</Bold></TextBlock></Border></Grid></StackPanel>");
    return text;
}
