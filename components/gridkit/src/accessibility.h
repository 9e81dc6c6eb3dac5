#pragma once

#include <QtGlobal>

namespace gridkit {

class ReportGrid;

namespace detail {

// Makes QAccessible describe every ReportGrid as a table of its rows and columns. Idempotent.
void installAccessibleFactory();

// What the view tells assistive technology, each only while it is listening.
void itemChanged(ReportGrid& grid, qint32 row, qint32 item); // a cell's content changed
void tableChanged(ReportGrid& grid); // rows added, the sort order or the columns changed
void focusChanged(ReportGrid& grid); // the focused cell moved
void focusEntered(ReportGrid& grid); // the grid got the keyboard focus

} // namespace detail
} // namespace gridkit
