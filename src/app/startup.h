#pragma once

#include <functional>

class QApplication;
class frmMain;

// The program's start-up: register the controls, create frmMain from its design-time description,
// load it, show it and run the event loop. A run-time error on the way ends it with status 1.
// Tools that measure start-up observe the window through onCreated, before it loads.
int runGridgauge(QApplication& app, const std::function<void(frmMain&)>& onCreated = {});
