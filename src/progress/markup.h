#pragma once

#include <QString>
#include <QtGlobal>

// The two progress-cell markup texts. Pure functions of their arguments: no clamping and no
// validation; a 32-bit subtraction that overflows, or a bar width that cannot be stored, throws
// host::RuntimeError 6 and returns no text.

// The nested bar: a track of cellHeight - 2 with a bar of floor(percent / 100 * (cellWidth - 8))
// inside it, the percentage centred on the bar.
QString BuildNestedMarkup(qint32 cellWidth, qint32 cellHeight, qint32 percent);

// The layered bar: a panel of width - 4 whose track, bar (percent / 100 * (width - 4), rounded
// half to even) and label lie over each other, the percentage centred on the whole track.
QString BuildProgressMarkup(qint32 width, qint32 percent);
