#pragma once

namespace controlkit::detail {

// Makes QAccessible describe every ProgressBar as a progress bar with its value. Idempotent.
void installAccessibleFactory();

} // namespace controlkit::detail
