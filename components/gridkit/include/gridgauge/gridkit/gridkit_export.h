#pragma once

#include <QtGlobal>

/// @file
/// What GridKit's shared library exports: the public API and nothing else (the library is built
/// with hidden symbols by default).

/// @def GRIDGAUGE_GRIDKIT_EXPORT
/// Marks a class or function of the public API, exported from the library.
/// GRIDGAUGE_GRIDKIT_LIBRARY is defined while the library itself is built.
#if defined(GRIDGAUGE_GRIDKIT_LIBRARY)
#define GRIDGAUGE_GRIDKIT_EXPORT Q_DECL_EXPORT
#else
#define GRIDGAUGE_GRIDKIT_EXPORT Q_DECL_IMPORT
#endif
