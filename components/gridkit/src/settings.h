#pragma once

#include "gridgauge/host/system_colors.h"

#include <QtGlobal>

namespace gridkit::detail {

// The grid's settings that only change how it looks and reacts (report_grid.h says what each
// does); what a caption is lives in the model.
struct ViewSettings {
    bool groupBoxVisible = false;
    bool reorderAllowed = false;
    bool sortOnClick = false;
    bool cellFocus = false;
    bool gridLines = false;
    qint32 headerStyle = 4;
    bool themedControls = true;
    quint32 belowRowsColor = host::colors::WindowBackground;
    bool highlightFocusedRow = true;

    bool platformHeader() const { return headerStyle == 4; }
};

} // namespace gridkit::detail
