#pragma once

#include <QString>

// The one way the program shows a message box: a text, OK or Yes/No, an icon or none, and a
// title (the application's title unless the caller names another). Tests answer from a script.
class Prompter {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompter() = default;

    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = QString());

    // Where to save a file: the path the user chose, empty when the user cancelled.
    virtual QString saveFileName(const QString& title, const QString& suggested) = 0;

protected:
    virtual Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) = 0;
};

// Message boxes on the screen.
class MessageBoxPrompter : public Prompter {
public:
    QString saveFileName(const QString& title, const QString& suggested) override;

protected:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
};
