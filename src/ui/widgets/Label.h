#pragma once

#include <QLabel>

// A label that reports clicks, as every label of the screen can.
class Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
