#pragma once

#include "app/CurrentUser.h"

#include <memory>

class MainScreen;
class Prompter;

// The program's module: the start procedure and the program-wide objects.
namespace modBrevant {

// The program's fixed department code, handed to the login.
inline constexpr char DepartmentCode[] = "14";

// The current-user object that Main creates; it lives until the program ends.
CurrentUser& currentUser();

// How the program shows message boxes; tests put a scripted one in its place.
Prompter& prompter();
void setPrompter(std::unique_ptr<Prompter> prompter);

// The screen while it is up, else nullptr.
MainScreen* frmESOA_Items();

// Creates the current-user object, lets the user log in and, only after a successful login,
// shows the screen and runs until it is closed. Returns the program's exit status: 0 after a
// login that did not succeed (no window, no message), 1 after a failure before the screen was
// up (reported in one message box; no half-started screen is left).
int Main();

} // namespace modBrevant
