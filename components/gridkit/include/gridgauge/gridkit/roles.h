#pragma once

/// @file
/// The item data roles GridKit reads beyond Qt's own.

#include <QtCore/qnamespace.h>

namespace gridgauge::gridkit {

/// Roles a model answers for the cells that gridgauge::gridkit::GridDelegate draws; past
/// Qt::UserRole, as Qt asks of roles of one's own.
enum ItemDataRole {
    /// A QStringList: the captions of the cell's push buttons, in order. A cell with buttons is
    /// all buttons: they share its width evenly and cover any text or check box. A click on one,
    /// or Space on the focused cell, raises GridDelegate::buttonClicked() (and
    /// ReportGrid::buttonClicked() in a report grid).
    ButtonsRole = Qt::UserRole + 0x4700,
    /// Which of the buttons can be pressed: a QVariantList of booleans, one per button, or
    /// nothing for all of them. A missing entry is enabled; a disabled item disables them all.
    ButtonsEnabledRole,
};

} // namespace gridgauge::gridkit
