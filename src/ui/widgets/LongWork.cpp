#include "LongWork.h"

#include <QApplication>

WaitCursor::WaitCursor(QWidget* window)
    : m_window(window) {
    if (m_window)
        m_window->setCursor(Qt::WaitCursor);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    if (m_window)
        m_window->unsetCursor();
    QApplication::restoreOverrideCursor();
}
