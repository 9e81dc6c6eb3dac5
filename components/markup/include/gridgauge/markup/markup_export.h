#pragma once

#include <QtGlobal>

// What the markup engine's shared library exports: the public API and nothing else (the library
// is built with hidden symbols by default). Defined while the library itself is built.
#if defined(GRIDGAUGE_MARKUP_LIBRARY)
#define GRIDGAUGE_MARKUP_EXPORT Q_DECL_EXPORT
#else
#define GRIDGAUGE_MARKUP_EXPORT Q_DECL_IMPORT
#endif
