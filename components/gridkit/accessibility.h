#pragma once

namespace gridkit::detail {

// Makes QAccessible describe every ReportGrid as a table of its rows and columns. Idempotent.
void installAccessibleFactory();

} // namespace gridkit::detail
