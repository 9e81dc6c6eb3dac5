// The deferred refresh: armed by whatever changes what the progress cells must show, run once on
// the next tick of Timer1.
#include "app/frm_main.h"
#include "progress/markup.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/checked.h"
#include "gridgauge/host/form.h"
#include "gridgauge/host/timer.h"
#include "gridgauge/host/units.h"

using namespace host;

void frmMain::SyncProgress() {
    qint32 L = 0, T = 0, R = 0, B = 0;

    // The follower cell's bounds.
    {
        const report::Row row = wndReportControlData->rows().row(1);
        row.itemBounds(row.record().item(1), L, T, R, B);
    }

    // The nested markup for the bar's value, kept in ProgressMarkup.
    ProgressMarkup =
        BuildNestedMarkup(checked::subtract(R, L), checked::subtract(B, T), ProgressBar1->value());

    // The follower cell shows it.
    wndReportControlData->rows().row(1).record().item(1).setCaption(ProgressMarkup);

    // The seeded cell only while it is still empty: after a drag it keeps its own bar.
    {
        report::Item seeded = wndReportControlData->rows().row(2).record().item(1);
        if (seeded.caption() == QString())
            seeded.setCaption(ProgressMarkup);
    }

    // The overlay cell's bounds.
    {
        const report::Row row = wndReportControlData->rows().row(0);
        row.itemBounds(row.record().item(1), L, T, R, B);
    }

    // ProgressBar1 in front, over the overlay cell, 20 pixels high.
    host::bringToFront(*ProgressBar1);
    const float X = units::twipsPerPixelX(this);
    const float Y = units::twipsPerPixelY(this);
    const float left = float(L) * X;
    const double top = double(T) * double(Y);
    const double width = double(checked::subtract(R, L)) * double(X);
    const float height = 20.0f * Y;
    host::move(*ProgressBar1, left, top, width, height);

    setCaption(QStringLiteral("Progress percent: ") + QString::number(ProgressBar1->value()) +
               QStringLiteral(" %"));
    wndReportControlData->redraw();
}

void frmMain::Timer1_Timer() {
    SyncProgress();
    Timer1->setEnabled(false);
}

void frmMain::wndReportControlData_ViewScrolled() {
    Timer1->setEnabled(true);
}

void frmMain::wndReportControlData_ColumnWidthChanged() {
    Timer1->setEnabled(true);
}
