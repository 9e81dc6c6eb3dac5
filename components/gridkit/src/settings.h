#pragma once

#include "gridgauge/gridkit/report_grid.h"

#include <QColor>
#include <QPalette>

namespace gridgauge::gridkit::detail {

// How the view looks and reacts (report_grid.h says what each does). They belong to the view:
// two views over one model may show it differently.
struct ViewSettings {
    bool groupBoxVisible = false;
    bool columnsMovable = false;
    bool sortingEnabled = false;
    bool cellFocus = false;
    bool gridLines = false;
    ReportGrid::HeaderStyle headerStyle = ReportGrid::StyledHeader;
    QColor belowRowsColor;
    QPalette::ColorRole belowRowsRole = QPalette::Base;
    int minimumColumnWidth = 10;

    bool styledHeader() const { return headerStyle == ReportGrid::StyledHeader; }
};

} // namespace gridgauge::gridkit::detail
