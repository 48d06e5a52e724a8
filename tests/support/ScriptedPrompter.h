#pragma once

#include "ui/widgets/Prompter.h"

#include <QList>
#include <QStringList>

#include <functional>

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
    // Runs while a box is up, before it is answered: what the world does while the user reads.
    std::function<void(const Shown&)> whileShown;
    // Paths the save dialogs answer, first to last; cancelled when the script has run out.
    QStringList savePaths;
    // The titles and suggested names of the save dialogs shown.
    QStringList saveDialogs;

    QString saveFileName(const QString& title, const QString& suggested) override {
        saveDialogs << title + QStringLiteral(": ") + suggested;
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }

    QStringList texts() const {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }

protected:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        shown << Shown{text, buttons, icon, title};
        if (whileShown)
            whileShown(shown.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }
};
