#pragma once

#include <QPointer>
#include <QWidget>

// What long work on the screen uses while it lets the screen handle its events.

// The hourglass for as long as it lives: over the whole application, and as the window's own
// pointer too when a window is given, so that it shows over that window's every control.
class WaitCursor {
public:
    explicit WaitCursor(QWidget* window = nullptr);
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QPointer<QWidget> m_window;
};

// Marks work as running for as long as it lives, so that a second click while it runs (the
// screen handles its events meanwhile) can tell and start nothing.
class RunningFlag {
public:
    explicit RunningFlag(bool& running)
        : m_running(running) {
        m_running = true;
    }
    ~RunningFlag() { m_running = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& m_running;
};
