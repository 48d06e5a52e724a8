#pragma once

#include "screen/Prompter.h"

#include <QList>
#include <QStringList>

// Answers message boxes from a script and records what was shown.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };

    QList<Shown> shown;
    // Answers for Yes/No boxes, first to last; Yes when the script has run out.
    QList<Answer> answers;

    QStringList texts() const {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }

protected:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        shown << Shown{text, buttons, icon, title};
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }
};
