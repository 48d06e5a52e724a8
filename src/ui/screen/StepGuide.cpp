#include "StepGuide.h"

#include "ui/screen/Controls.h"
#include "ui/widgets/Twips.h"

#include <QGroupBox>
#include <QPushButton>

using twips::left;
using twips::setLeft;
using twips::setTop;
using twips::top;
using twips::width;

void StepGuide::ShowStepHint(int step) {
    QPushButton* pointer = m_c.cmdInst;
    auto place = [&](int l, int t, const char* caption) {
        setLeft(pointer, l);
        setTop(pointer, t);
        pointer->setText(QString::fromLatin1(caption));
    };
    switch (step) {
    case 0:
        place(6240, 1080, "<-Click Category.");
        break;
    case 1:
        setTop(pointer, 3000);
        setLeft(pointer, 5760);
        pointer->setText(QStringLiteral("<-Search and Select PhilHealth Item."));
        break;
    case 2:
        place(left(m_c.fraR) - width(pointer) - 200, 120, "Select Revenue->");
        break;
    case 3:
        place(14400, 2760, "<-Search VALTOR Item");
        break;
    case 4:
        place(14400, 3760, "<-Select VALTOR Item");
        break;
    case 5:
        place(13960, 1800, "<-Verify and Save Mapping");
        break;
    case 6:
        place(6120, top(m_c.fraMap), "<-Done. Mapped items displayed here");
        break;
    case 7:
        pointer->setVisible(false);
        break;
    default:
        break;
    }
}

void StepGuide::cmdInst_Click() {
    m_c.cmdInst->setVisible(false);
}
