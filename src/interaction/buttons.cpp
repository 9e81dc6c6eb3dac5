// The Up and Down buttons beside the follower cell: they step ProgressBar1 and arm the refresh.
#include "app/frm_main.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/checked.h"
#include "gridgauge/host/timer.h"

using namespace host;

void frmMain::wndReportControlData_ItemButtonClick(const report::ItemControl& control) {
    const QString caption = control.caption();
    if (caption == QLatin1String("Up"))
        ProgressBar1->setValue(checked::add(ProgressBar1->value(), 1));
    else if (caption == QLatin1String("Down"))
        ProgressBar1->setValue(checked::subtract(ProgressBar1->value(), 1));
    Timer1->setEnabled(true);
}
