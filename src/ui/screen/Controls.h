#pragma once

#include "ui/widgets/Label.h"

class FlexGrid;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Every control of the mapping screen, each a widget whose objectName is its name (an indexed
// one carries its name, "_" and its index: optTable(1) is "optTable_1"). All working state of
// the screen lives in these controls.
struct Controls {
    QGroupBox* Frame3;
    QRadioButton* optTable[2];
    Label* lblESOATableName;
    Label* lblTableName;
    Label* Label4;
    FlexGrid* GridCat;

    QGroupBox* Frame2;
    Label* Label9;
    QLineEdit* txtESOACode;
    QLineEdit* txtESOADesc;
    QPushButton* cmdUse;
    QLineEdit* txtFixedFee;
    QLineEdit* txtChargingUnit;
    Label* Label5;
    QLineEdit* txtType;
    QRadioButton* optInventory[2];
    Label* Label2;
    QLineEdit* txtRevID;
    Label* lblS;
    QLineEdit* txtSectionID;
    Label* Label10;
    QLineEdit* txtVALTORItemID;
    QLineEdit* txtVALTORitemDesc;
    QPushButton* cmdEdit;

    Label* Label7;
    Label* Label6;
    QLineEdit* txtSOADesc;
    QPushButton* cmdSearchSOAItem;
    Label* Label1;
    QLineEdit* txtAreaCat;
    QPushButton* cmdCheckIfMapped;
    QCheckBox* chkAutoSearch;
    Label* Label12;
    Label* Label3;
    QLineEdit* txtDesc;
    QPushButton* cmdPreview;
    Label* lblG;
    QLineEdit* txtGeneric;
    QPushButton* cmdCheckIfMapped2;
    QPushButton* cmdMapAll;
    FlexGrid* Grid1;
    FlexGrid* Grid2;
    QPushButton* cmdInst;

    Label* lblMaint;
    QGroupBox* fraMaint;
    QPushButton* cmdCreateTable;
    QPushButton* cmdScan;
    QPushButton* cmdClose;
    Label* lblIDFieldName;
    Label* lblExamFieldName;
    Label* lblTable;
    QGroupBox* fraR;
    FlexGrid* GridRev;
    FlexGrid* GridRevCode;
    QGroupBox* fraMap;
    QPushButton* cmdDelete;
    FlexGrid* GridMap;

    // Creates every control on the form, in its place, with its caption and starting state, and
    // sets the focus order.
    static Controls build(QWidget* form);
};

// The screen's client area at design, in twips.
inline constexpr int designWidthTwips = 20160;
inline constexpr int designHeightTwips = 10935;
