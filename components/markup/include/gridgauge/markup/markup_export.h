#pragma once

#include <QtGlobal>

/// @file
/// What the markup engine's shared library exports: the public API and nothing else (the library is
/// built with hidden symbols by default).

/// @def GRIDGAUGE_MARKUP_EXPORT
/// Marks a class or function of the public API, exported from the library.
/// GRIDGAUGE_MARKUP_LIBRARY is defined while the library itself is built.
#if defined(GRIDGAUGE_MARKUP_LIBRARY)
#define GRIDGAUGE_MARKUP_EXPORT Q_DECL_EXPORT
#else
#define GRIDGAUGE_MARKUP_EXPORT Q_DECL_IMPORT
#endif
