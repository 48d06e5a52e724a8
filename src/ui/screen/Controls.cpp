#include "Controls.h"

#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum class Kind { Frame, Label, TextBox, Button, Option, Check, Grid };

enum Flag : unsigned {
    None = 0,
    ReadOnly = 1u << 0, // a read-only text box, button-face background
    White = 1u << 1,    // a read-only text box that keeps the white background
    Hidden = 1u << 2,
    Right = 1u << 3,    // right-aligned label
    Centre = 1u << 4,   // centred label
    Heading = 1u << 5,  // Segoe UI Semibold, underlined
    Selected = 1u << 6, // option selected, check box checked
};

struct Definition {
    const char* name;
    Kind kind;
    const char* parent; // nullptr: the form
    const char* caption;
    int left, top, width, height;
    unsigned flags;
};

// The screen, control by control: name, kind, container, caption or starting text, and place in
// twips within the container's client area. Containers come before what they hold.
const Definition definitions[] = {
    {"Frame3", Kind::Frame, nullptr, "1. Select Type", 120, 240, 1695, 2175, None},
    {"optTable_0", Kind::Option, "Frame3", "ESOA ITEM", 240, 360, 1335, 195, Selected},
    {"optTable_1", Kind::Option, "Frame3", "PHIC ER Item", 240, 600, 1335, 195, None},
    {"lblESOATableName", Kind::Label, "Frame3", "ESOA_ITEM", 240, 960, 1335, 255, None},
    {"lblTableName", Kind::Label, "Frame3", "ESOA_ITEM", 240, 1200, 1335, 255, Hidden},
    {"Label4", Kind::Label, nullptr, "2. Select Category of Department", 1920, 120, 3375, 255,
     None},
    {"GridCat", Kind::Grid, nullptr, "", 1920, 360, 4215, 2055, None},

    {"Frame2", Kind::Frame, nullptr, "4. Search and Link VALTOR Item/Procedure and Save", 6240, 240,
     7575, 2175, None},
    {"Label9", Kind::Label, "Frame2", "PHIC Item", 120, 300, 1095, 225, Right},
    {"txtESOACode", Kind::TextBox, "Frame2", "", 1320, 240, 855, 330, ReadOnly},
    {"txtESOADesc", Kind::TextBox, "Frame2", "", 2280, 240, 4575, 330, ReadOnly},
    {"cmdUse", Kind::Button, "Frame2", "use", 6960, 240, 495, 330, None},
    {"txtFixedFee", Kind::TextBox, "Frame2", "", 1320, 600, 855, 330, ReadOnly},
    {"txtChargingUnit", Kind::TextBox, "Frame2", "", 2280, 600, 855, 330, ReadOnly},
    {"Label5", Kind::Label, "Frame2", "Type", 120, 1020, 1095, 225, Right},
    {"txtType", Kind::TextBox, "Frame2", "INV", 1320, 960, 855, 330, ReadOnly | White},
    {"optInventory_0", Kind::Option, "Frame2", "Inventory", 2520, 960, 1215, 255, None},
    {"optInventory_1", Kind::Option, "Frame2", "Procedure", 3720, 960, 1215, 255, None},
    {"Label2", Kind::Label, "Frame2", "RevID", 120, 1380, 1095, 225, Right},
    {"txtRevID", Kind::TextBox, "Frame2", "", 1320, 1320, 855, 330, None},
    {"lblS", Kind::Label, "Frame2", "SectionID", 2160, 1380, 855, 225, Right},
    {"txtSectionID", Kind::TextBox, "Frame2", "", 3120, 1320, 615, 330, None},
    {"Label10", Kind::Label, "Frame2", "VALTOR Item", 120, 1740, 1095, 225, Right},
    {"txtVALTORItemID", Kind::TextBox, "Frame2", "", 1320, 1680, 855, 330, ReadOnly},
    {"txtVALTORitemDesc", Kind::TextBox, "Frame2", "", 2280, 1680, 3495, 330, ReadOnly},
    {"cmdEdit", Kind::Button, "Frame2", "5. Sa&ve Mapping", 5880, 1560, 1575, 450, None},

    {"Label7", Kind::Label, nullptr, "3. Philhealth Table", 120, 2520, 8055, 255, Centre | Heading},
    {"Label6", Kind::Label, nullptr, "S&earch", 120, 2820, 1455, 225, Right},
    {"txtSOADesc", Kind::TextBox, nullptr, "", 1680, 2760, 2175, 330, None},
    {"cmdSearchSOAItem", Kind::Button, nullptr, "Sea&rch", 3960, 2760, 1575, 450, None},
    {"Label1", Kind::Label, nullptr, "Category", 120, 3180, 1455, 225, Right},
    {"txtAreaCat", Kind::TextBox, nullptr, "", 1680, 3120, 2175, 330, None},
    {"cmdCheckIfMapped", Kind::Button, nullptr, "Check Listed if Mapped", 5640, 2520, 1575, 450,
     None},
    {"chkAutoSearch", Kind::Check, nullptr, "Auto Search-->", 5640, 3120, 1935, 255, Selected},
    {"Label12", Kind::Label, nullptr, "VALTOR Table", 7440, 2520, 4215, 255, Centre | Heading},
    {"Label3", Kind::Label, nullptr, "S&earch", 7320, 2820, 1455, 225, Right},
    {"txtDesc", Kind::TextBox, nullptr, "", 8880, 2760, 2775, 330, None},
    {"cmdPreview", Kind::Button, nullptr, "&Search", 11760, 2760, 1575, 450, None},
    {"lblG", Kind::Label, nullptr, "&Generic", 7320, 3180, 1455, 225, Right},
    {"txtGeneric", Kind::TextBox, nullptr, "", 8880, 3120, 2775, 330, None},
    {"cmdCheckIfMapped2", Kind::Button, nullptr, "Check Listed if Mapped", 13440, 2520, 1575, 450,
     None},
    {"cmdMapAll", Kind::Button, nullptr, "Map ALL Listed", 13440, 3000, 1575, 450, None},
    {"Grid1", Kind::Grid, nullptr, "", 120, 3480, 7215, 7755, None},
    {"Grid2", Kind::Grid, nullptr, "", 7440, 3480, 9135, 7755, None},

    {"lblMaint", Kind::Label, nullptr, "Maintenance...", 15000, 0, 1215, 255, Right},
    {"fraMaint", Kind::Frame, nullptr, "Maintenance", 15000, 240, 1935, 1455, Hidden},
    {"cmdCreateTable", Kind::Button, "fraMaint", "a. Create Tables", 120, 240, 1695, 495, None},
    {"cmdScan", Kind::Button, "fraMaint", "b. Scan && Import", 120, 840, 1695, 495, None},
    {"cmdClose", Kind::Button, nullptr, "Close", 15120, 1800, 1695, 495, Hidden},
    {"lblIDFieldName", Kind::Label, nullptr, "", 15960, 480, 1575, 330, Hidden},
    {"lblExamFieldName", Kind::Label, nullptr, "", 15960, 960, 1575, 330, Hidden},
    {"lblTable", Kind::Label, nullptr, "", 15960, 1440, 1575, 330, Hidden},
    {"fraR", Kind::Frame, nullptr, "Revenue Codes", 16680, 0, 4335, 11295, None},
    {"GridRev", Kind::Grid, "fraR", "", 120, 240, 4095, 3195, None},
    {"GridRevCode", Kind::Grid, "fraR", "", 120, 3480, 4095, 7755, None},
    {"fraMap", Kind::Frame, nullptr, "Mapping", 120, 11280, 18855, 3015, None},
    {"cmdDelete", Kind::Button, "fraMap", "Delete map", 1200, 0, 1215, 330, None},
    {"GridMap", Kind::Grid, "fraMap", "", 120, 360, 18615, 2595, None},
    // The step pointer last, so that it lies over the grids it points at.
    {"cmdInst", Kind::Button, nullptr, "<---Select", 5280, 8520, 2535, 495, None},
};

// The order in which the Tab key moves through the controls that take focus.
const char* const focusOrder[] = {"optTable_0",
                                  "optTable_1",
                                  "GridCat",
                                  "txtSOADesc",
                                  "txtAreaCat",
                                  "cmdSearchSOAItem",
                                  "Grid1",
                                  "txtESOACode",
                                  "txtESOADesc",
                                  "cmdUse",
                                  "txtFixedFee",
                                  "txtChargingUnit",
                                  "txtType",
                                  "optInventory_0",
                                  "optInventory_1",
                                  "txtRevID",
                                  "txtSectionID",
                                  "txtVALTORItemID",
                                  "txtVALTORitemDesc",
                                  "cmdEdit",
                                  "txtDesc",
                                  "txtGeneric",
                                  "cmdPreview",
                                  "Grid2",
                                  "cmdClose",
                                  "cmdScan",
                                  "cmdCreateTable",
                                  "cmdMapAll",
                                  "cmdInst",
                                  "cmdCheckIfMapped",
                                  "cmdCheckIfMapped2",
                                  "chkAutoSearch",
                                  "GridMap",
                                  "cmdDelete",
                                  "GridRev",
                                  "GridRevCode"};

// A label's access key moves the focus to the control that follows it in the focus order.
const char* const buddies[][2] = {
    {"Label6", "txtSOADesc"}, {"Label3", "txtDesc"}, {"lblG", "txtGeneric"}};

QWidget* create(const Definition& d, QWidget* parent) {
    const QString caption = QString::fromUtf8(d.caption);
    switch (d.kind) {
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Label: {
        auto* label = new Label(caption, parent);
        label->setTextFormat(Qt::PlainText);
        Qt::Alignment align = Qt::AlignLeft;
        if (d.flags & Right)
            align = Qt::AlignRight;
        else if (d.flags & Centre)
            align = Qt::AlignHCenter;
        label->setAlignment(align | Qt::AlignTop);
        if (d.flags & Heading) {
            QFont font = label->font();
            font.setWeight(QFont::DemiBold);
            font.setUnderline(true);
            label->setFont(font);
        }
        return label;
    }
    case Kind::TextBox: {
        auto* box = new QLineEdit(caption, parent);
        QPalette palette = box->palette();
        if ((d.flags & ReadOnly) && !(d.flags & White))
            palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        else
            palette.setColor(QPalette::Base, Qt::white);
        box->setPalette(palette);
        box->setReadOnly(d.flags & ReadOnly);
        return box;
    }
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::Option: {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(d.flags & Selected);
        return option;
    }
    case Kind::Check: {
        auto* check = new QCheckBox(caption, parent);
        check->setChecked(d.flags & Selected);
        return check;
    }
    case Kind::Grid:
        return new FlexGrid(parent);
    }
    return nullptr;
}

template <typename T> T* find(QWidget* form, const char* name) {
    T* widget = form->findChild<T*>(QLatin1String(name));
    Q_ASSERT_X(widget, "Controls::build", name);
    return widget;
}

// Every control of the table, in its place, in the screen's font.
void createControls(QWidget* form) {
    // Where Segoe UI is not installed, a sans-serif of close width stands in for it.
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSizeF(8.25);
    form->setFont(font);
    for (const Definition& d : definitions) {
        QWidget* parent = d.parent ? find<QWidget>(form, d.parent) : form;
        QWidget* widget = create(d, parent);
        widget->setObjectName(QLatin1String(d.name));
        twips::place(widget, d.left, d.top, d.width, d.height);
        if (d.flags & Hidden)
            widget->setVisible(false);
    }
}

// The controls by name, a table of one line a control.
Controls findControls(QWidget* form) {
    Controls c{};
#define BREVANT_FIND(type, name) c.name = find<type>(form, #name)
    BREVANT_FIND(QGroupBox, Frame3);
    c.optTable[0] = find<QRadioButton>(form, "optTable_0");
    c.optTable[1] = find<QRadioButton>(form, "optTable_1");
    BREVANT_FIND(Label, lblESOATableName);
    BREVANT_FIND(Label, lblTableName);
    BREVANT_FIND(Label, Label4);
    BREVANT_FIND(FlexGrid, GridCat);
    BREVANT_FIND(QGroupBox, Frame2);
    BREVANT_FIND(Label, Label9);
    BREVANT_FIND(QLineEdit, txtESOACode);
    BREVANT_FIND(QLineEdit, txtESOADesc);
    BREVANT_FIND(QPushButton, cmdUse);
    BREVANT_FIND(QLineEdit, txtFixedFee);
    BREVANT_FIND(QLineEdit, txtChargingUnit);
    BREVANT_FIND(Label, Label5);
    BREVANT_FIND(QLineEdit, txtType);
    c.optInventory[0] = find<QRadioButton>(form, "optInventory_0");
    c.optInventory[1] = find<QRadioButton>(form, "optInventory_1");
    BREVANT_FIND(Label, Label2);
    BREVANT_FIND(QLineEdit, txtRevID);
    BREVANT_FIND(Label, lblS);
    BREVANT_FIND(QLineEdit, txtSectionID);
    BREVANT_FIND(Label, Label10);
    BREVANT_FIND(QLineEdit, txtVALTORItemID);
    BREVANT_FIND(QLineEdit, txtVALTORitemDesc);
    BREVANT_FIND(QPushButton, cmdEdit);
    BREVANT_FIND(Label, Label7);
    BREVANT_FIND(Label, Label6);
    BREVANT_FIND(QLineEdit, txtSOADesc);
    BREVANT_FIND(QPushButton, cmdSearchSOAItem);
    BREVANT_FIND(Label, Label1);
    BREVANT_FIND(QLineEdit, txtAreaCat);
    BREVANT_FIND(QPushButton, cmdCheckIfMapped);
    BREVANT_FIND(QCheckBox, chkAutoSearch);
    BREVANT_FIND(Label, Label12);
    BREVANT_FIND(Label, Label3);
    BREVANT_FIND(QLineEdit, txtDesc);
    BREVANT_FIND(QPushButton, cmdPreview);
    BREVANT_FIND(Label, lblG);
    BREVANT_FIND(QLineEdit, txtGeneric);
    BREVANT_FIND(QPushButton, cmdCheckIfMapped2);
    BREVANT_FIND(QPushButton, cmdMapAll);
    BREVANT_FIND(FlexGrid, Grid1);
    BREVANT_FIND(FlexGrid, Grid2);
    BREVANT_FIND(QPushButton, cmdInst);
    BREVANT_FIND(Label, lblMaint);
    BREVANT_FIND(QGroupBox, fraMaint);
    BREVANT_FIND(QPushButton, cmdCreateTable);
    BREVANT_FIND(QPushButton, cmdScan);
    BREVANT_FIND(QPushButton, cmdClose);
    BREVANT_FIND(Label, lblIDFieldName);
    BREVANT_FIND(Label, lblExamFieldName);
    BREVANT_FIND(Label, lblTable);
    BREVANT_FIND(QGroupBox, fraR);
    BREVANT_FIND(FlexGrid, GridRev);
    BREVANT_FIND(FlexGrid, GridRevCode);
    BREVANT_FIND(QGroupBox, fraMap);
    BREVANT_FIND(QPushButton, cmdDelete);
    BREVANT_FIND(FlexGrid, GridMap);
#undef BREVANT_FIND
    return c;
}

// The step pointer's colours and font, and the maintenance link drawn as a link.
void styleControls(Controls& c) {
    // The step pointer: pale yellow, Segoe UI Semibold 9 pt.
    c.cmdInst->setStyleSheet(QStringLiteral("QPushButton#cmdInst { background-color: rgb(255, 255, "
                                            "192); border: 1px solid rgb(128, 128, 96); }"));
    QFont pointer(QStringLiteral("Segoe UI"), 9);
    pointer.setWeight(QFont::DemiBold);
    c.cmdInst->setFont(pointer);
    // "Maintenance..." is drawn as a link.
    QFont link = c.lblMaint->font();
    link.setUnderline(true);
    c.lblMaint->setFont(link);
    QPalette palette = c.lblMaint->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    c.lblMaint->setPalette(palette);
    c.lblMaint->setCursor(Qt::PointingHandCursor);
}

// The access keys of the labels, and the order of the Tab key.
void setFocusOrder(QWidget* form) {
    for (const auto& pair : buddies)
        find<QLabel>(form, pair[0])->setBuddy(find<QWidget>(form, pair[1]));
    QWidget* previous = nullptr;
    for (const char* name : focusOrder) {
        QWidget* widget = find<QWidget>(form, name);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace

Controls Controls::build(QWidget* form) {
    createControls(form);
    Controls c = findControls(form);
    styleControls(c);
    setFocusOrder(form);
    return c;
}
