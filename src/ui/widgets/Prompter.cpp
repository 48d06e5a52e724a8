#include "Prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

Prompter::Answer Prompter::message(const QString& text, Buttons buttons, Icon icon,
                                   const QString& title) {
    return show(text, buttons, icon, title.isEmpty() ? QApplication::applicationName() : title);
}

Prompter::Answer MessageBoxPrompter::show(const QString& text, Buttons buttons, Icon icon,
                                          const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
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
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title,
                                        QDir::home().filePath(suggested),
                                        QStringLiteral("CSV files (*.csv);;All files (*)"));
}
