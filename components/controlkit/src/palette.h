#pragma once

#include <QPalette>

#include <functional>
#include <initializer_list>

class QWidget;

namespace controlkit::detail {

struct RoleColor {
    QPalette::ColorRole role;
    uint color; // as the host takes it: fixed, or a system colour
};

// Gives each role of the widget's palette its colour, system colours as the application's palette
// has them now.
void applyColors(QWidget& widget, std::initializer_list<RoleColor> colors);

// Calls apply each time the application's palette changes, for as long as the widget lives. Qt
// tells only top-level windows, and only once shown; a control lies in its form, and the roles it
// set would keep the system colours they were set under.
void followApplicationPalette(QWidget& widget, std::function<void()> apply);

} // namespace controlkit::detail
