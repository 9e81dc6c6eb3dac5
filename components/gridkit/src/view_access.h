#pragma once

// The view's own parts, for the grid's accessibility, which describes what the view shows.

#include "geometry.h"
#include "gridgauge/gridkit/report_grid.h"
#include "input.h"

namespace gridkit::detail {

struct ViewAccess {
    static const GridGeometry& geometry(const ReportGrid& grid) { return *grid.geometry_; }
    static GridInput& input(const ReportGrid& grid) { return *grid.input_; }
    static GridModel& model(ReportGrid& grid) { return grid.model_; }
};

} // namespace gridkit::detail
