#pragma once

#include <QtGlobal>

namespace gridgauge::gridkit {

class ReportGrid;

namespace detail {

// Makes QAccessible describe every ReportGrid as a table of its rows and columns. Idempotent.
void installAccessibleFactory();

// What the view tells assistive technology, each only while it is listening.
void itemChanged(ReportGrid& grid, int row, int column); // a cell's content changed
void tableChanged(ReportGrid& grid); // rows or columns came, went or moved; the model reset
void focusChanged(ReportGrid& grid); // the focused cell moved
void focusEntered(ReportGrid& grid); // the grid got the keyboard focus

} // namespace detail
} // namespace gridgauge::gridkit
