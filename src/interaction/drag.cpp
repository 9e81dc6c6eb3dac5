// Setting the seeded cell's bar by dragging in it while "Allow drag" is ticked.
#include "app/frm_main.h"
#include "progress/markup.h"

#include "grid/grid_control.h"
#include "gridgauge/host/checked.h"
#include "gridgauge/host/runtime_error.h"

#include <optional>

using namespace host;

namespace {

// A result that must be there; a missing one is an unset object.
template <typename T> T required(const std::optional<T>& value) {
    if (!value)
        throw RuntimeError(ObjectNotSet);
    return *value;
}

} // namespace

void frmMain::wndReportControlData_ItemCheck(const report::Row& row, const report::Item& item) {
    const qint32 rowNumber = row.index();
    const qint32 itemIndex = item.index();
    if (rowNumber == 2 && itemIndex == 2)
        AllowDrag = item.checked();
}

void frmMain::wndReportControlData_MouseDown(qint16 Button, qint16, qint32 x, qint32 y) {
    if (Button != 1)
        return;
    DragStartY = y;
    DragStartX = x;
    DragProgress(x, y, x);
}

void frmMain::wndReportControlData_MouseMove(qint16 Button, qint16, qint32 x, qint32) {
    if (Button != 1)
        return;
    DragProgress(DragStartX, DragStartY, x);
}

void frmMain::DragProgress(qint32 StartX, qint32 StartY, qint32 CurrentX) {
    // The cell under the start point, if it is in row 2 and dragging is allowed.
    const std::optional<report::HitTestInfo> hit = wndReportControlData->hitTest(StartX, StartY);
    if (!hit)
        return;
    const std::optional<report::Row> hitRow = hit->row();
    const std::optional<report::Column> hitColumn = hit->column();
    if (!hitRow || !hitColumn)
        return;
    if (hitRow->index() != 2 || !AllowDrag)
        return;

    // The edges of the item under the start point.
    report::Item hitItem = required(hit->item());
    qint32 left = 0, top = 0, right = 0, bottom = 0;
    wndReportControlData->rows().row(hitRow->index()).itemBounds(hitItem, left, top, right, bottom);

    // The pointer's distance from that edge as a share of the column's width. A column without
    // width holds no point, so the hit test never gives one; were it to, the checked division
    // would end the program like any other failing step. A right-to-left grid shows its bars
    // filling from the cell's right edge, so the distance runs from there, mirrored pixel for
    // pixel: its last pixel is 0 as the first one is left to right.
    const qint32 difference = wndReportControlData->isRightToLeft()
                                  ? checked::subtract(checked::subtract(right, 1), CurrentX)
                                  : checked::subtract(CurrentX, left);
    const qint32 width = hitColumn->width();
    qint32 percent = checked::toInt32(
        checked::finite(checked::divide(double(difference), double(width)) * 100.0));
    if (percent > 100)
        percent = 100;
    else if (percent < 0)
        percent = 0;

    // Only the progress column takes a bar.
    if (hitColumn->index() != 1)
        return;

    // The layered bar, shown at once.
    const QString markup = BuildProgressMarkup(hitColumn->width(), percent);
    hitItem.setCaption(markup);
    wndReportControlData->rebuild();
    setCaption(QStringLiteral("Progress percent: ") + QString::number(percent) +
               QStringLiteral("%"));
}
