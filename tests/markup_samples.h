#pragma once

// The two captions the program writes for a 100 x 20 cell at 75 %, exactly as it writes them,
// and variants made by changing their numbers.
#include <QString>

namespace samples {

extern const QString nested;
extern const QString layered;
QString nestedWith(const QString& barWidth, const QString& height, const QString& percent);
QString layeredWith(const QString& track, const QString& bar, const QString& percent);

} // namespace samples
