#pragma once

#include "gridgauge/host/system_colors.h"

#include <QtGlobal>

namespace gridkit::detail {

// How the view looks and reacts (report_grid.h says what each does). They belong to the view:
// two views over one model may show it differently.
struct ViewSettings {
    bool markupEnabled = false;
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
