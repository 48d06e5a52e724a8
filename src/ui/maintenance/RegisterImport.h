#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QPushButton;
class QWidget;
struct FormContext;

// "Import drug register..." under the maintenance frame, for hospital IT: replaces the FDA's
// register of drug products (ESOA_DRUG_REGISTER in Build_FIle) with the list in a file that the
// FDA's verification portal exported, all in one transaction, so that every workstation on the
// server reads the new register from its commit on, and a cancelled or failed import leaves the
// old one as it was.
class RegisterImport : public QObject {
    Q_OBJECT
public:
    // The button's place in twips: at the top of "Statement log..." and 105 twips right of it, so
    // its left edge is 480 twips right of the frame's left edge, 105 twips under the frame; with
    // the frame at its design place that is 15480, 1800, 2100, 495. It lies over the revenue
    // frame while the maintenance frame is shown, as that frame does.
    static constexpr int rightOfFrameLeft = 480;
    static constexpr int belowFrame = 105;
    static constexpr int buttonWidth = 2100;
    static constexpr int buttonHeight = 495;

    explicit RegisterImport(FormContext& form);

    // Puts cmdImportRegister on the form under the maintenance frame, shown and hidden with the
    // frame and following it; the Tab key reaches it right after `tabAfter`.
    void install(QWidget* tabAfter);

    // Asks for the file, then imports it; a cancelled file dialog does nothing. A click while an
    // import runs starts nothing.
    void cmdImportRegister_Click();

    // Imports the file at `path` while a progress with Cancel is shown, then says in one message
    // how it went: "<n> products, <m> brand names imported."; "Nothing was imported." when the
    // user cancelled; why a file is refused (not text, columns missing, no products) or cannot be
    // read; or the database's text. Only a file that imports replaces the register.
    void ImportRegister(const QString& path);

    QPushButton* button() const { return m_button; }
    bool isRunning() const { return m_running; }

private:
    struct Result {
        QString message;
        bool imported = false;
    };
    Result importBytes(const QByteArray& bytes, const QString& fileName);

    FormContext& m_form;
    QPushButton* m_button = nullptr;
    bool m_running = false;
};
