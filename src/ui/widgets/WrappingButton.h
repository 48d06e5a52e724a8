#pragma once

#include <QPushButton>

// A command button whose caption wraps onto as many lines as its width needs, centred, for a
// button narrower than its caption. Its text stays the caption as given.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
