#pragma once

// For tests: how many texts markup::parse() has read in this process, so that a test can see
// that a repaint, or a cache hit, parsed nothing.

#include <QtGlobal>

namespace markup {
quint64 parseCount();
}
