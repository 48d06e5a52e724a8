#pragma once

#include "ui/suggest/ProposalGrid.h"

#include <QList>
#include <QStringList>

class QDialog;
class QLineEdit;
class QPushButton;
class QSpinBox;
struct FormContext;

// The window the proposals dialog and the re-mapping of links to dropped codes show: "Tick the
// rows scoring at least" and its spin box over the list of proposals, "Save checked" and "Close"
// under it. Window-modal over the screen; Close closes it; closed, it keeps its place and size in
// the window settings; it first opens beside the screen or over its revenue lists, never over the
// steps or the mappings. Its list has the menu every list has.
struct ProposalWindow {
    QDialog* dialog = nullptr;
    QSpinBox* minimum = nullptr;
    ProposalGrid* list = nullptr;
    QPushButton* save = nullptr;

    // The objectNames and the title: "dlgSuggestCodes", "Suggest PhilHealth codes",
    // "lblSuggestMin", "spnSuggestMin", "GridSuggestCodes", "cboSuggestCode", "cmdSuggestSave",
    // "cmdSuggestCodesClose".
    struct Names {
        const char *dialog, *title, *label, *spin, *grid, *choice, *save, *close;
    };
    // The spin box starts at `minimum`; the list has the columns `before` and `after` around the
    // chosen code's.
    static ProposalWindow make(FormContext& form, const Names& names, int minimum,
                               QList<ProposalGrid::Column> before,
                               QList<ProposalGrid::Column> after);
};

// The working fields a save of proposals fills row by row, their texts put back when it goes.
class KeptTexts {
public:
    explicit KeptTexts(QList<QLineEdit*> boxes);
    ~KeptTexts();
    KeptTexts(const KeptTexts&) = delete;
    KeptTexts& operator=(const KeptTexts&) = delete;

private:
    QList<QLineEdit*> m_boxes;
    QStringList m_texts;
};
