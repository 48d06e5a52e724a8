#pragma once

#include <QString>

class FlexGrid;
class QMenu;

// The calls that cross from one part of the screen to another (a category click resets the work
// area, sets the item mode and searches; an import reloads the lists; map all takes each listed
// item). The screen answers each by calling the part that owns it: a part reaches another only
// through here, and no part includes another's header.
class ScreenCalls {
public:
    // The PhilHealth side.
    virtual void LoadCategories() = 0;
    virtual void LoadReferenceItems() = 0;
    // The hospital side.
    virtual void SetItemMode(bool inventory) = 0;
    virtual void ResetWorkArea() = 0;
    virtual void SearchHospitalItems() = 0;
    virtual void SetExamTable(const QString& examField) = 0;
    virtual void cmdUse_Click() = 0;
    // Raises GridError when the hospital list lacks an item's columns.
    virtual void Grid2_Click() = 0;
    // The mapping list, and the reference table whose links it lists.
    virtual void LoadMappings() = 0;
    // "5. Sa&ve Mapping" of the working fields; true when the link row was written.
    virtual bool SaveMapping() = 0;
    virtual QString listedTable() const = 0;
    // The history's items of the mapping list's menu, for the link of `row`.
    virtual void addLinkHistoryItems(QMenu* menu, int row) = 0;
    // The menu every list has ("Copy", "Export list to CSV...") and Ctrl+C, for a list of one
    // of the screen's windows.
    virtual void addListMenu(FlexGrid* grid) = 0;
    // The suggestions' items of the menu of Grid1 and of Grid2.
    virtual void addSuggestItems(QMenu* menu, FlexGrid* grid) = 0;
    // The FDA's register of drug products was replaced: what was read of it is read again.
    virtual void drugRegisterImported() = 0;
    // A new edition of a PhilHealth list was applied: what was read of the lists is read again.
    virtual void referenceListUpdated() = 0;
    // "Links to codes no longer listed": the links of the current table whose code it lacks,
    // offered for re-mapping; when there are none, nothing opens and nothing is said.
    virtual void showLinksToMissingCodes() = 0;
    // Shows a link of a reference table in its context: its PhilHealth item selected in Grid1
    // (its category chosen), its links in GridMap with the link current.
    virtual void showLink(const QString& table, const QString& code, qint64 linkId) = 0;

protected:
    ~ScreenCalls() = default;
};
