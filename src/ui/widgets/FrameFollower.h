#pragma once

#include <QObject>

class QWidget;

// Keeps a control under a frame of the same form: at an offset in twips from the frame's left
// edge and its bottom, at its own size, shown while the frame is shown and hidden with it, and
// moved whenever the frame moves or changes size. It lives as long as the control.
class FrameFollower : public QObject {
public:
    // `left` twips right of the frame's left edge (less than zero: left of it), `below` twips
    // under its bottom, `width` by `height` twips. Places the control at once.
    FrameFollower(QWidget* frame, QWidget* control, int left, int below, int width, int height);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QWidget* m_frame;
    QWidget* m_control;
    int m_left, m_below, m_width, m_height;
};
