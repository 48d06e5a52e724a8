#pragma once

#include <QString>

#include <initializer_list>

class FlexGrid;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

// A window of the screen's that lists rows for hospital IT (the statement log, the database
// check): not modal, in front of the screen and going with it; its list over a row of buttons at
// the right that ends in Close. Close and Esc hide it. It opens at 1240 by 560 until the clerk
// gives it another size.
struct ListWindow {
    QDialog* window = nullptr;
    FlexGrid* grid = nullptr;
    QPushButton* close = nullptr;
    QHBoxLayout* buttons = nullptr;

    // The window `name` ("dlgStatementLog") with the title given, over `screen`; its list
    // `gridName` with the column widths given in twips; Close named after the window
    // ("cmdStatementLogClose").
    static ListWindow make(QWidget* screen, const QString& name, const QString& title,
                           const QString& gridName, std::initializer_list<int> columnWidths);
    // A button before Close, named and captioned.
    QPushButton* addButton(const QString& name, const QString& caption) const;
};
