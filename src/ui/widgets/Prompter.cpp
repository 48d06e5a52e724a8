#include "Prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
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
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString MessageBoxPrompter::saveFileName(const QString& title, const QString& suggested) {
    // Offered where the user keeps documents (Documents on Windows), else in the home folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir folder =
        !documents.isEmpty() && QDir(documents).exists() ? QDir(documents) : QDir::home();
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title,
                                        folder.filePath(suggested),
                                        QStringLiteral("CSV files (*.csv);;All files (*)"));
}
