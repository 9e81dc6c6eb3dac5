#include "frm_main.h"

#include "gridgauge/host/system_colors.h"

using host::ControlDescription;

namespace {

ControlDescription label(int index, int left, const char* caption, const char* tag) {
    return {QStringLiteral("Shape1"),
            index,
            ControlDescription::Kind::Hosted,
            QStringLiteral("ControlKit.Label"),
            left,
            0,
            1335,
            375,
            1 + index,
            {{"caption", QString::fromLatin1(caption)},
             {"tag", QString::fromLatin1(tag)},
             {"foreColor", host::colors::ButtonText},
             {"backColor", host::colors::ButtonFace},
             {"enabled", true}}};
}

} // namespace

const host::FormDescription& frmMain::designTime() {
    static const host::FormDescription description{
        QStringLiteral("Form1"),
        3630,
        1650,
        7845,
        5730,
        {
            {QStringLiteral("wndReportControlData"),
             -1,
             ControlDescription::Kind::Hosted,
             QStringLiteral("GridKit.ReportGrid"),
             0,
             0,
             5055,
             2175,
             0,
             {{"enabled", true}, {"accessibleName", QStringLiteral("Progress grid")}}},
            {QStringLiteral("Timer1"),
             -1,
             ControlDescription::Kind::Timer,
             {},
             0,
             0,
             0,
             0,
             -1,
             {{"enabled", false}, {"interval", 1}}},
            label(0, 0, "Label 0", "EAN On"),
            label(1, 1320, "Label 1", "Label 1"),
            label(2, 2760, "Label 2", "Label 2"),
            {QStringLiteral("ProgressBar1"),
             -1,
             ControlDescription::Kind::Hosted,
             QStringLiteral("ControlKit.ProgressBar"),
             480,
             2640,
             2295,
             375,
             4,
             {{"minimum", 0},
              {"maximum", 100},
              {"text", QString()},
              {"foreColor", host::colors::ButtonText},
              {"backColor", host::colors::ButtonFace},
              {"enabled", true},
              {"accessibleName", QStringLiteral("Progress")}}},
        }};
    return description;
}
