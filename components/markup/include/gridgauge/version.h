#pragma once

/// @file
/// The version of the Gridgauge libraries: the one a program is built against, in the macros,
/// and the one it runs with, from gridgauge::version(). Within one major version a program runs
/// with any library at least as new as the one it was built against.

#include "gridgauge/markup/markup_export.h"

/// The major version: the libraries' soname version, changed only with an incompatible change.
#define GRIDGAUGE_VERSION_MAJOR 1
/// The minor version: grows with what is added, compatibly.
#define GRIDGAUGE_VERSION_MINOR 0
/// The patch version: grows with what is mended.
#define GRIDGAUGE_VERSION_PATCH 0
/// The three as text, "major.minor.patch".
#define GRIDGAUGE_VERSION_STRING "1.0.0"

/// A version as one number that compares as versions do, as QT_VERSION_CHECK makes one.
#define GRIDGAUGE_VERSION_CHECK(major, minor, patch) (((major) << 16) | ((minor) << 8) | (patch))
/// The version built against as one number: `#if GRIDGAUGE_VERSION >=
/// GRIDGAUGE_VERSION_CHECK(1, 1, 0)`.
#define GRIDGAUGE_VERSION                                                                          \
    GRIDGAUGE_VERSION_CHECK(GRIDGAUGE_VERSION_MAJOR, GRIDGAUGE_VERSION_MINOR,                      \
                            GRIDGAUGE_VERSION_PATCH)

/// The Gridgauge libraries.
namespace gridgauge {

/// The version of the libraries the program runs with, as GRIDGAUGE_VERSION_STRING spells it:
/// a later one than the program was built against when the libraries were updated since.
GRIDGAUGE_MARKUP_EXPORT const char* version() noexcept;

} // namespace gridgauge
