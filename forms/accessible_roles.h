#pragma once

namespace forms {

// Tells assistive tools what the forms' own kinds of widget are: each form is a window (a
// frame), a link label a link that can be pressed. Called once, before any window is shown.
void InstallAccessibleRoles();

} // namespace forms
