#include "gridgauge/host/system_colors.h"

#include "gridgauge/host/runtime_error.h"

#include <iterator>
#include <optional>

namespace host::colors {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic system colour indices, each on the palette role that plays the same part.
constexpr SystemRole SystemRoles[] = {
    {QPalette::Active, QPalette::Mid},               //  0 scroll bar
    {QPalette::Active, QPalette::Window},            //  1 desktop
    {QPalette::Active, QPalette::Highlight},         //  2 active title bar
    {QPalette::Inactive, QPalette::Highlight},       //  3 inactive title bar
    {QPalette::Active, QPalette::Window},            //  4 menu bar
    {QPalette::Active, QPalette::Base},              //  5 window background
    {QPalette::Active, QPalette::Shadow},            //  6 window frame
    {QPalette::Active, QPalette::WindowText},        //  7 menu text
    {QPalette::Active, QPalette::Text},              //  8 window text
    {QPalette::Active, QPalette::HighlightedText},   //  9 title bar text
    {QPalette::Active, QPalette::Button},            // 10 active border
    {QPalette::Inactive, QPalette::Button},          // 11 inactive border
    {QPalette::Active, QPalette::Dark},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlighted text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive title text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 tooltip background
};

std::optional<SystemRole> systemRole(quint32 index) {
    if (index >= std::size(SystemRoles))
        return std::nullopt;
    return SystemRoles[index];
}

} // namespace

bool isValid(quint32 value) {
    if (value & SystemFlag)
        return (value & 0x7FFFFF00u) == 0 && systemRole(value & 0xFFu).has_value();
    return (value & 0xFF000000u) == 0;
}

quint32 validated(quint32 value) {
    if (!isValid(value))
        throw RuntimeError(InvalidPropertyValue);
    return value;
}

QColor resolve(quint32 value, const QPalette& palette) {
    if (validated(value) & SystemFlag) {
        const SystemRole r = *systemRole(value & 0xFFu);
        return palette.color(r.group, r.role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace host::colors
