// A part of the screen that includes another part, the screen itself and the program's start:
// three violations. The screen's contract and the widgets are allowed.
#include "app/CurrentUser.h"
#include "ui/reference/ReferenceSide.h"
#include "ui/screen/FormContext.h"
#include "ui/screen/MainScreen.h"
#include "ui/widgets/FlexGrid.h"
