#include "FrameFollower.h"

#include "ui/widgets/Twips.h"

#include <QEvent>
#include <QWidget>

FrameFollower::FrameFollower(QWidget* frame, QWidget* control, int left, int below, int width,
                             int height)
    : QObject(control)
    , m_frame(frame)
    , m_control(control)
    , m_left(left)
    , m_below(below)
    , m_width(width)
    , m_height(height) {
    follow();
    frame->installEventFilter(this);
}

bool FrameFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_frame) {
        switch (event->type()) {
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::Move:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FrameFollower::follow() {
    twips::place(m_control, twips::left(m_frame) + m_left,
                 twips::top(m_frame) + twips::height(m_frame) + m_below, m_width, m_height);
    m_control->setVisible(!m_frame->isHidden());
}
