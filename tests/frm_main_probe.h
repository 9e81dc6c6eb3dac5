#pragma once

// Test access to frmMain's window-level state and private procedures.
#include "app/frm_main.h"

struct frmMainProbe {
    static const QString& ProgressMarkup(const frmMain& f) { return f.ProgressMarkup; }
    static qint32 DragStartX(const frmMain& f) { return f.DragStartX; }
    static qint32 DragStartY(const frmMain& f) { return f.DragStartY; }
    static bool AllowDrag(const frmMain& f) { return f.AllowDrag; }
};
