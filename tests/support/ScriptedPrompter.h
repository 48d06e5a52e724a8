#pragma once

#include "ui/widgets/Prompter.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

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

    // Paths the open dialogs answer, first to last; cancelled when the script has run out.
    QStringList openPaths;
    // The titles and filters of the open dialogs shown.
    QStringList openDialogs;
    // The titles, labels and maxima of the progress dialogs shown, and every step they were
    // told, in order.
    QStringList progressDialogs;
    QList<int> progressSteps;
    // The first step at or past this value is cancelled, and every one after it; never when
    // below zero.
    int cancelProgressAt = -1;
    // Runs at each step of a progress, before it is answered: what the world does meanwhile.
    std::function<void(int value)> whileProgress;

    QString openFileName(const QString& title, const QString& filter) override {
        openDialogs << title + QStringLiteral(": ") + filter;
        return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
    }

    std::unique_ptr<Progress> progress(const QString& title, const QString& label,
                                       int maximum) override {
        progressDialogs << QStringLiteral("%1: %2 (%3)").arg(title, label).arg(maximum);
        return std::make_unique<ScriptedProgress>(*this);
    }

    // Answers for the one-line boxes, first to last (nothing: Cancel); Cancel when the script has
    // run out. The titles and labels of the boxes shown.
    QList<std::optional<QString>> textAnswers;
    QStringList textBoxes;
    std::optional<QString> askText(const QString& title, const QString& label) override {
        textBoxes << title + QStringLiteral(": ") + label;
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
    }

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
    class ScriptedProgress : public Progress {
    public:
        explicit ScriptedProgress(ScriptedPrompter& prompter)
            : m_prompter(prompter) {}
        bool step(int value) override {
            m_prompter.progressSteps << value;
            if (m_prompter.whileProgress)
                m_prompter.whileProgress(value);
            return m_prompter.cancelProgressAt < 0 || value < m_prompter.cancelProgressAt;
        }

    private:
        ScriptedPrompter& m_prompter;
    };

    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        shown << Shown{text, buttons, icon, title};
        if (whileShown)
            whileShown(shown.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }
};
