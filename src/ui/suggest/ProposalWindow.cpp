#include "ProposalWindow.h"

#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/widgets/WindowSettings.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

ProposalWindow ProposalWindow::make(FormContext& form, const Names& names, int minimum,
                                    QList<ProposalGrid::Column> before,
                                    QList<ProposalGrid::Column> after) {
    ProposalWindow w;
    QWidget* screen = form.c.Grid2->window();
    w.dialog = new QDialog(screen);
    w.dialog->setObjectName(QLatin1String(names.dialog));
    w.dialog->setWindowTitle(QLatin1String(names.title));
    w.dialog->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(w.dialog);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Tick the rows scoring at least"), w.dialog);
    label->setObjectName(QLatin1String(names.label));
    w.minimum = new QSpinBox(w.dialog);
    w.minimum->setObjectName(QLatin1String(names.spin));
    w.minimum->setRange(0, 100);
    w.minimum->setValue(minimum);
    label->setBuddy(w.minimum);
    top->addWidget(label);
    top->addWidget(w.minimum);
    top->addStretch();
    layout->addLayout(top);
    w.list = new ProposalGrid(w.dialog, QLatin1String(names.grid), QLatin1String(names.choice),
                              std::move(before), std::move(after));
    form.screen.addListMenu(w.list->grid());
    layout->addWidget(w.list->grid());
    auto* buttons = new QHBoxLayout;
    w.save = new QPushButton(QStringLiteral("Save checked"), w.dialog);
    w.save->setObjectName(QLatin1String(names.save));
    auto* close = new QPushButton(QStringLiteral("Close"), w.dialog);
    close->setObjectName(QLatin1String(names.close));
    for (QPushButton* button : {w.save, close})
        button->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(w.save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    ProposalGrid* list = w.list;
    QObject::connect(w.minimum, &QSpinBox::valueChanged, list,
                     [list](int least) { list->tickFrom(least); });
    QDialog* dialog = w.dialog;
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [&form, dialog] { form.user.VALTORClasses().Savewinsettings(dialog); });
    dialog->resize(twips::toPixels(list->width() + 700), twips::toPixels(7200));
    placement::placeFirstTime(dialog, screen, {form.c.GridRev, form.c.GridRevCode},
                              form.user.VALTORClasses());
    return w;
}

KeptTexts::KeptTexts(QList<QLineEdit*> boxes)
    : m_boxes(std::move(boxes)) {
    for (QLineEdit* box : m_boxes)
        m_texts << box->text();
}

KeptTexts::~KeptTexts() {
    for (qsizetype i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(m_texts[i]);
}
