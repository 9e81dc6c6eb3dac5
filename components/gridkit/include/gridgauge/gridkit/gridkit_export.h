#pragma once

#include <QtGlobal>

// What GridKit's shared library exports: the public API and nothing else (the library is built
// with hidden symbols by default). Defined while the library itself is built.
#if defined(GRIDGAUGE_GRIDKIT_LIBRARY)
#define GRIDGAUGE_GRIDKIT_EXPORT Q_DECL_EXPORT
#else
#define GRIDGAUGE_GRIDKIT_EXPORT Q_DECL_IMPORT
#endif
