#pragma once

namespace host::detail {

// Makes QAccessible describe every Form as a window named by its caption. Idempotent.
void installFormAccessibility();

} // namespace host::detail
