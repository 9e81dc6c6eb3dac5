#pragma once

namespace host {

class Form;

namespace detail {

// Makes QAccessible describe the form as a window named by its caption, and tells assistive
// technology of each new caption. Called once by each form.
void makeAccessible(Form& form);

} // namespace detail

} // namespace host
