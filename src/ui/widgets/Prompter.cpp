#include "Prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>

Prompter::Answer Prompter::message(const QString& text, Buttons buttons, Icon icon,
                                   const QString& title) {
    return show(text, buttons, icon, title.isEmpty() ? QApplication::applicationName() : title);
}

Prompter::Answer MessageBoxPrompter::show(const QString& text, Buttons buttons, Icon icon,
                                          const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    // In the order of Prompter::Icon.
    const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                       QMessageBox::Warning, QMessageBox::Critical,
                                       QMessageBox::Question};
    box.setIcon(icons[static_cast<int>(icon)]);
    if (buttons != Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

namespace {

// Where the user keeps documents (Documents on Windows), else the home folder.
QDir documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? QDir(documents) : QDir::home();
}

// A progress dialog over the active window, which it blocks while the work runs.
class DialogProgress : public Progress {
public:
    DialogProgress(const QString& title, const QString& label, int maximum)
        : m_dialog(label, QStringLiteral("Cancel"), 0, maximum, QApplication::activeWindow()) {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }

    bool step(int value) override {
        // A modal dialog handles the events as its value changes; the rest come here.
        m_dialog.setValue(value);
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

QString MessageBoxPrompter::saveFileName(const QString& title, const QString& suggested) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title,
                                        documentsFolder().filePath(suggested),
                                        QStringLiteral("CSV files (*.csv);;All files (*)"));
}

QString MessageBoxPrompter::openFileName(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title,
                                        documentsFolder().path(), filter);
}

std::optional<QString> MessageBoxPrompter::askText(const QString& title, const QString& label) {
    QInputDialog box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("dlgAskText"));
    box.setWindowTitle(title);
    box.setLabelText(label);
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Cancel"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

std::unique_ptr<Progress> MessageBoxPrompter::progress(const QString& title, const QString& label,
                                                       int maximum) {
    return std::make_unique<DialogProgress>(title, label, maximum);
}
