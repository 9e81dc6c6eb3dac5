#pragma once

// For tests: how many texts gridgauge::markup::parse() has read in this process, so that a test can
// see that a repaint, or a cache hit, parsed nothing.

#include <QtGlobal>

namespace gridgauge::markup {
quint64 parseCount();
}
