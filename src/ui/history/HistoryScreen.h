#pragma once

#include "core/history/LinkHistory.h"
#include "ui/screen/FormContext.h"

#include <QObject>

class QDialog;
class QMenu;

// What the mapping list offers from the history of the links: the history of the hospital item
// of the current row, and the undo of the newest "Map ALL Listed" of the listed link table.
class HistoryScreen : public QObject {
    Q_OBJECT
public:
    explicit HistoryScreen(FormContext& form)
        : m_form(form) {}

    // Adds "History of this link..." (for the link of GridMap's `row`) and, when there is a map
    // all to undo, "Undo last Map ALL (N links)" to the mapping list's menu.
    void addMenuItems(QMenu* menu, int row);

    // The history dialog of the hospital item of a GridMap row.
    void showItemHistory(int row);
    // Asks, then undoes the map all, reloads the list and says what was done.
    void undoMapAll(const history::BatchOffer& offer);

signals:
    // The history dialog is up (it runs modal until closed): tests and screenshots act on it.
    void historyShown(QDialog* dialog);

private:
    // The link table GridMap lists.
    QString listedLinkTable() const;

    FormContext& m_form;
};
