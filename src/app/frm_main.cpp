#include "frm_main.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/label.h"
#include "gridgauge/controlkit/progress_bar.h"
#include "gridgauge/host/dispatcher.h"
#include "gridgauge/host/form.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"
#include "gridgauge/host/timer.h"

namespace {

template <typename T> T* typed(QWidget* control) {
    auto* typed = qobject_cast<T*>(control);
    if (!typed)
        throw host::RuntimeError(host::TypeMismatch);
    return typed;
}

} // namespace

frmMain::frmMain()
    : host::Form(designTime())
    , wndReportControlData(typed<report::Grid>(control(QStringLiteral("wndReportControlData"))))
    , Timer1(timer(QStringLiteral("Timer1")))
    , Shape1{typed<controlkit::Label>(control(QStringLiteral("Shape1"), 0)),
             typed<controlkit::Label>(control(QStringLiteral("Shape1"), 1)),
             typed<controlkit::Label>(control(QStringLiteral("Shape1"), 2))}
    , ProgressBar1(typed<controlkit::ProgressBar>(control(QStringLiteral("ProgressBar1")))) {
    using report::Grid;
    host::connectHandler(this, &host::Form::Load, this, [this] { Form_Load(); });
    host::connectHandler(this, &host::Form::Resize, this, [this] { Form_Resize(); });
    host::connectHandler(Timer1, &host::Timer::tick, this, [this] { Timer1_Timer(); });

    auto* grid = wndReportControlData;
    host::connectHandler(grid, &Grid::itemCheck, this,
                         [this](const report::Row& row, const report::Item& item) {
                             wndReportControlData_ItemCheck(row, item);
                         });
    host::connectHandler(grid, &Grid::viewScrolled, this,
                         [this] { wndReportControlData_ViewScrolled(); });
    host::connectHandler(grid, &Grid::mouseMove, this,
                         [this](qint16 button, qint16 shift, qint32 x, qint32 y) {
                             wndReportControlData_MouseMove(button, shift, x, y);
                         });
    host::connectHandler(grid, &Grid::mouseDown, this,
                         [this](qint16 button, qint16 shift, qint32 x, qint32 y) {
                             wndReportControlData_MouseDown(button, shift, x, y);
                         });
    host::connectHandler(grid, &Grid::columnWidthChanged, this,
                         [this](const report::Column&, qint32, qint32) {
                             wndReportControlData_ColumnWidthChanged();
                         });
    host::connectHandler(
        grid, &Grid::itemButtonClicked, this,
        [this](const report::Row&, const report::Item&, const report::ItemControl& control) {
            wndReportControlData_ItemButtonClick(control);
        });
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
    auto* grid = wndReportControlData;
    grid->appearance().setHeaderStyle(4);
    grid->setMarkupEnabled(true);
    grid->setGroupBoxVisible(false);
    grid->setColumnReorderAllowed(false);
    grid->setSortOnHeaderClick(false);
    grid->setCellFocus(true);
    grid->setGridLinesVisible(true);
    grid->appearance().setThemedControls(true);
    grid->appearance().setBelowRowsColor(host::colors::ButtonFace);
    grid->appearance().setHighlightFocusedRow(true);

    CreateColumns();
    CreateRecords();

    ProgressBar1->setValue(qint16(75));
    Timer1->setEnabled(true);
}

void frmMain::Form_Resize() {
    const float W = scaleWidth();
    const float H = scaleHeight();
    host::move(*wndReportControlData, 0, 0, W, H);
}
