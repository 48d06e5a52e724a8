#pragma once

#include "app/CurrentUser.h"

// The program's module: the start procedure and the program-wide current-user object.
namespace modBrevant {

// The program's fixed department code, handed to the login.
inline constexpr char DepartmentCode[] = "14";

// The current-user object that Main creates; it lives until the program ends.
CurrentUser& currentUser();

// Creates the current-user object, lets the user log in and, only after a successful login,
// shows the screen and runs until it is closed. Returns the program's exit status: 0 after a
// login that did not succeed (no window, no message), non-zero after a failure before the
// screen was up (reported in one message box).
int Main();

} // namespace modBrevant
