#include "ListWindow.h"

#include "ui/widgets/FlexGrid.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

ListWindow ListWindow::make(QWidget* screen, const QString& name, const QString& title,
                            const QString& gridName, std::initializer_list<int> columnWidths) {
    ListWindow w;
    w.window = new QDialog(screen);
    w.window->setObjectName(name);
    w.window->setWindowTitle(title);
    w.window->setModal(false);
    auto* layout = new QVBoxLayout(w.window);
    w.grid = new FlexGrid(w.window);
    w.grid->setObjectName(gridName);
    int col = 0;
    for (const int width : columnWidths)
        w.grid->setColWidth(col++, width);
    layout->addWidget(w.grid);
    w.buttons = new QHBoxLayout;
    w.buttons->addStretch();
    w.close = new QPushButton(QStringLiteral("Close"), w.window);
    w.close->setObjectName(name.mid(3).prepend(QStringLiteral("cmd")) + QStringLiteral("Close"));
    w.buttons->addWidget(w.close);
    layout->addLayout(w.buttons);
    QObject::connect(w.close, &QPushButton::clicked, w.window, &QDialog::reject);
    w.window->resize(1240, 560);
    return w;
}

QPushButton* ListWindow::addButton(const QString& name, const QString& caption) const {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(name);
    buttons->insertWidget(buttons->count() - 1, button);
    return button;
}
