#pragma once

#include "core/suggest/Suggestions.h"
#include "ui/screen/FormContext.h"
#include "ui/suggest/RetiredLinks.h"
#include "ui/suggest/SuggestCodes.h"

#include <QObject>
#include <QPointer>

class FlexGrid;
class QDialog;
class QLabel;
class QMenu;

// Ranked suggestions beside the mapping steps. For the selected PhilHealth item, the window
// "Suggestions" lists the hospital items most like it (F3, or Grid1's right-click menu), follows
// every click in Grid1 and every change of category while it is open, and takes a row over as a
// click on it in Grid2 does. For the hospital items of Grid2, the dialog of proposed PhilHealth
// codes (Grid2's right-click menu) saves the ticked ones.
class SuggestScreen : public QObject {
    Q_OBJECT
public:
    // How many hospital items the window lists.
    static constexpr int listed = 20;

    explicit SuggestScreen(FormContext& form);
    ~SuggestScreen() override;

    // The key F3, and the window's following of Grid1, the categories and the table options.
    void install();
    // "Suggest hospital items..." for Grid1, "Suggest PhilHealth codes for the listed items..."
    // for Grid2.
    void addMenuItems(QMenu* menu, FlexGrid* grid);
    // "Links to codes no longer listed..." for the mapping list's menu.
    void addMappingListItems(QMenu* menu);

    // Opens the window for the selected PhilHealth item (or lists it again and brings the open
    // window to the front), its list focused.
    void showSuggestions();
    // Lists the hospital items for the selected PhilHealth item. A failure of the database is
    // told in a message, with the list left empty.
    void Refresh();
    // Takes the hospital item of a row of GridSuggest over as a click on it in Grid2 does; a
    // procedure of another exam table than the routed one first gets that table's routing.
    void takeOver(int row);
    void closeWindow();
    // Writes a link's code into "Mapped to" for the rows of its hospital item (for every row when
    // the item is not told): a save, a delete or an undo shows in the window at once.
    void showMappedTo(const QString& linkTable, const QString& revenueId, const QString& itemId);

    QDialog* window() const { return m_window; }
    FlexGrid* grid() const { return m_grid; }
    SuggestCodes& codes() { return m_codes; }
    RetiredLinks& retiredLinks() { return m_retired; }
    suggest::Suggestions& engine() { return m_engine; }

private:
    void makeWindow();
    // The links in memory go when this program changed a link since they were read.
    void followLinkChanges();
    bool isRouted(const suggest::HospitalItem& item) const;

    FormContext& m_form;
    suggest::Suggestions m_engine;
    QPointer<QDialog> m_window;
    FlexGrid* m_grid = nullptr;
    QLabel* m_for = nullptr;
    QList<suggest::HospitalItem> m_shown;
    QList<QString> m_revenues; // the revenue code a save of each shown item writes
    quint64 m_linksSeen = 0;
    SuggestCodes m_codes;
    RetiredLinks m_retired;
};
