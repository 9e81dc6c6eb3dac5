#pragma once

class QWidget;

namespace host::testing {

// The tab index a hosted control was described with (-1 when it has none). The tab order only
// links controls that take focus, so this is where a test sees the others' place in it.
int tabIndex(const QWidget& control);

} // namespace host::testing
