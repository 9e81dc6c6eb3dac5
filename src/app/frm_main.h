#pragma once

#include "gridgauge/host/form.h"

#include <QString>

#include <array>

namespace host {
class Timer;
}
namespace controlkit {
class Label;
class ProgressBar;
} // namespace controlkit
namespace report {
class Grid;
class Row;
class Item;
class Column;
class ItemControl;
} // namespace report

// The program's one window. Its handlers and procedures live in the folder of their subsystem:
// app (load, resize), grid (content), progress (markup, refresh), interaction (drag, buttons).
class frmMain : public host::Form {
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    // The design-time description the window is created from.
    static const host::FormDescription& designTime();

    // Controls, by their design-time names.
    report::Grid* const wndReportControlData;
    host::Timer* const Timer1;
    const std::array<controlkit::Label*, 3> Shape1;
    controlkit::ProgressBar* const ProgressBar1;

private:
    friend struct frmMainProbe; // tests read the window-level state

    // Handlers, entered through the host's dispatcher (app/).
    void Form_Load();
    void Form_Resize();
    // progress/
    void Timer1_Timer();
    void wndReportControlData_ViewScrolled();
    void wndReportControlData_ColumnWidthChanged();
    // interaction/
    void wndReportControlData_ItemCheck(const report::Row& row, const report::Item& item);
    void wndReportControlData_MouseDown(qint16 Button, qint16 Shift, qint32 x, qint32 y);
    void wndReportControlData_MouseMove(qint16 Button, qint16 Shift, qint32 x, qint32 y);
    void wndReportControlData_ItemButtonClick(const report::ItemControl& control);

    // Procedures.
    void CreateColumns();                                             // grid/
    void CreateRecords();                                             // grid/
    void SyncProgress();                                              // progress/
    void DragProgress(qint32 StartX, qint32 StartY, qint32 CurrentX); // interaction/

    // Window-level state.
    QString ProgressMarkup;
    qint32 DragStartY = 0;
    qint32 DragStartX = 0;
    bool AllowDrag = false;
};
