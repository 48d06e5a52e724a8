#pragma once

class QWidget;

// Stores a window's place, size and maximised state between runs, keyed by its objectName, in
// the settings of the organisation and application.
class WindowSettings {
public:
    // Restores the window as it was last saved; false when nothing was saved for it (its first
    // opening) or the saved geometry could not be restored.
    bool loadwinsettings(QWidget* window);
    void Savewinsettings(QWidget* window);
};
