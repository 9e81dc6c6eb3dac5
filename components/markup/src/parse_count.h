#pragma once

#include <QtGlobal>

namespace markup {
// How many texts parse() has read in this process: lets a test see that a repaint parsed nothing.
quint64 parseCount();
} // namespace markup
