// A core file that reaches the screen: each include below is one violation the layer check
// must find (see tests/CMakeLists.txt).
#include "core/db/Gateway.h"
#include "ui/widgets/FlexGrid.h"

#include <QSqlQuery>
#include <QWidget>
#include <QtWidgets/QLabel>
