#pragma once

class QWidget;

// Stores a window's place, size and maximised state between runs, keyed by its objectName, in
// the settings of the organisation and application.
class WindowSettings {
public:
    void loadwinsettings(QWidget* window);
    void Savewinsettings(QWidget* window);
};
