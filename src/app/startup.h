#pragma once

#include <functional>

class QApplication;
class frmMain;

// Makes the classes the design-time description names known to the host: "GridKit.ReportGrid"
// and ControlKit's. Once per process.
void registerControls();

// The program's start-up: register the controls, create frmMain from its design-time description,
// load it, show it and run the event loop. A run-time error on the way ends it with status 1.
// Tools that measure start-up observe the window through onCreated, before it loads.
int runGridgauge(QApplication& app, const std::function<void(frmMain&)>& onCreated = {});
