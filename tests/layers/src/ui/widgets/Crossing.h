// A widget that knows the screen: one violation.
#include "ui/screen/Controls.h"
