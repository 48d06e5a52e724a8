#pragma once

#include <QString>

#include <memory>
#include <optional>

// How far long work is, shown while it runs: a bar and a Cancel button.
class Progress {
public:
    virtual ~Progress() = default;
    // Shows the work `value` of the maximum along, letting the screen handle its events; false
    // once the user cancelled.
    virtual bool step(int value) = 0;
};

// The one way the program shows a message box: a text, OK or Yes/No, an icon or none, and a
// title (the application's title unless the caller names another). Tests answer from a script.
class Prompter {
public:
    // YesNoDefaultNo: Yes and No with No the default, for a question whose Yes is hard to undo.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;

    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = QString());

    // Where to save a file: the path the user chose, empty when the user cancelled.
    virtual QString saveFileName(const QString& title, const QString& suggested) = 0;
    // Which file to open (`filter` as a file dialog takes it: "CSV files (*.csv);;All files
    // (*)"): the path the user chose, empty when the user cancelled.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    // Shows how far work with `maximum` steps is, from 0, until the progress is destroyed.
    virtual std::unique_ptr<Progress> progress(const QString& title, const QString& label,
                                               int maximum) = 0;
    // A one-line box titled `title` that asks `label`, with OK and Cancel: the text typed, nothing
    // when the user cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& label) = 0;

protected:
    virtual Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) = 0;
};

// Message boxes on the screen.
class MessageBoxPrompter : public Prompter {
public:
    QString saveFileName(const QString& title, const QString& suggested) override;
    QString openFileName(const QString& title, const QString& filter) override;
    std::unique_ptr<Progress> progress(const QString& title, const QString& label,
                                       int maximum) override;
    std::optional<QString> askText(const QString& title, const QString& label) override;

protected:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
};
