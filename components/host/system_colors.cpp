#include "system_colors.h"

#include "runtime_error.h"

#include <optional>

namespace host::colors {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic system colour indices, each on the palette role that plays the same part.
std::optional<SystemRole> systemRole(quint32 index)
{
    using P = QPalette;
    switch (index) {
    case 0: return SystemRole{P::Active, P::Mid};              // scroll bar
    case 1: return SystemRole{P::Active, P::Window};           // desktop
    case 2: return SystemRole{P::Active, P::Highlight};        // active title bar
    case 3: return SystemRole{P::Inactive, P::Highlight};      // inactive title bar
    case 4: return SystemRole{P::Active, P::Window};           // menu bar
    case 5: return SystemRole{P::Active, P::Base};             // window background
    case 6: return SystemRole{P::Active, P::Shadow};           // window frame
    case 7: return SystemRole{P::Active, P::WindowText};       // menu text
    case 8: return SystemRole{P::Active, P::Text};             // window text
    case 9: return SystemRole{P::Active, P::HighlightedText};  // title bar text
    case 10: return SystemRole{P::Active, P::Button};          // active border
    case 11: return SystemRole{P::Inactive, P::Button};        // inactive border
    case 12: return SystemRole{P::Active, P::Dark};            // application workspace
    case 13: return SystemRole{P::Active, P::Highlight};       // highlight
    case 14: return SystemRole{P::Active, P::HighlightedText}; // highlighted text
    case 15: return SystemRole{P::Active, P::Button};          // button face
    case 16: return SystemRole{P::Active, P::Dark};            // button shadow
    case 17: return SystemRole{P::Disabled, P::Text};          // grey text
    case 18: return SystemRole{P::Active, P::ButtonText};      // button text
    case 19: return SystemRole{P::Inactive, P::HighlightedText}; // inactive title text
    case 20: return SystemRole{P::Active, P::Light};           // button highlight
    case 21: return SystemRole{P::Active, P::Shadow};          // 3D dark shadow
    case 22: return SystemRole{P::Active, P::Midlight};        // 3D light
    case 23: return SystemRole{P::Active, P::ToolTipText};     // tooltip text
    case 24: return SystemRole{P::Active, P::ToolTipBase};     // tooltip background
    default: return std::nullopt;
    }
}

} // namespace

bool isValid(quint32 value)
{
    if (value & SystemFlag)
        return (value & 0x7FFFFF00u) == 0 && systemRole(value & 0xFFu).has_value();
    return (value & 0xFF000000u) == 0;
}

QColor resolve(quint32 value, const QPalette& palette)
{
    if (!isValid(value))
        throw RuntimeError(InvalidPropertyValue);
    if (value & SystemFlag) {
        const SystemRole r = *systemRole(value & 0xFFu);
        return palette.color(r.group, r.role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace host::colors
