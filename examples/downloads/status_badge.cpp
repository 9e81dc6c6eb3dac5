#include "status_badge.h"

namespace {

struct Look {
    const char* label;
    const char* top;
    const char* bottom;
    const char* frame;
};

// Blues and greys only: the progress column's bar is the green in the window.
Look lookOf(DownloadState state) {
    switch (state) {
    case DownloadState::Queued:
        return {"Queued", "#C9CED6", "#9AA1AD", "#7D8592"};
    case DownloadState::Downloading:
        return {"Downloading", "#8DBDF5", "#3C78C8", "#2F5F9E"};
    case DownloadState::Done:
        return {"Done", "#6FC7E8", "#1F86AD", "#186A8A"};
    }
    return {"", "#FFFFFF", "#FFFFFF", "#FFFFFF"};
}

} // namespace

QString statusBadge(DownloadState state, int percent) {
    const Look look = lookOf(state);
    const QString label = state == DownloadState::Downloading
                              ? QStringLiteral("%1 %2%").arg(QLatin1String(look.label)).arg(percent)
                              : QLatin1String(look.label);
    return QStringLiteral(
               "<Border CornerRadius='7' BorderThickness='1' BorderBrush='%3' Padding='7,0' "
               "Margin='2,1' HorizontalAlignment='Left' VerticalAlignment='Center'>"
               "<Border.Background><LinearGradientBrush StartPoint='0,0' EndPoint='0,1'>"
               "<GradientStop Color='%1' Offset='0'/><GradientStop Color='%2' Offset='1'/>"
               "</LinearGradientBrush></Border.Background>"
               "<TextBlock Foreground='White' FontWeight='Bold'>%4</TextBlock></Border>")
        .arg(QLatin1String(look.top), QLatin1String(look.bottom), QLatin1String(look.frame), label);
}
