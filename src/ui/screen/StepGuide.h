#pragma once

struct Controls;

// The step pointer: the pale yellow button cmdInst, moved beside the control the user should
// use next, with a caption that says what to do there. Once the user clicks it away it stays
// hidden for the rest of the run; later steps still move it, unseen.
class StepGuide {
public:
    explicit StepGuide(Controls& controls)
        : m_c(controls) {}

    // Places and captions the pointer for a step from 0 to 7 (7 hides it); any other number
    // does nothing. Never fails.
    void ShowStepHint(int step);
    void cmdInst_Click();

private:
    Controls& m_c;
};
