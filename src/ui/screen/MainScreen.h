#pragma once

#include "ui/diagnostics/DatabaseCheckScreen.h"
#include "ui/exports/ListExports.h"
#include "ui/history/HistoryScreen.h"
#include "ui/hospital/HospitalSide.h"
#include "ui/maintenance/Import.h"
#include "ui/maintenance/ListUpdate.h"
#include "ui/maintenance/RegisterImport.h"
#include "ui/maintenance/Tables.h"
#include "ui/mapping/Mappings.h"
#include "ui/reference/ReferenceSide.h"
#include "ui/review/ReviewScreen.h"
#include "ui/screen/Controls.h"
#include "ui/screen/FormContext.h"
#include "ui/screen/ScreenCalls.h"
#include "ui/screen/StepGuide.h"
#include "ui/statementlog/StatementLogScreen.h"
#include "ui/suggest/SuggestScreen.h"

#include <QWidget>

class UserServices;
class Prompter;

// The mapping screen, "PHIC-VALTOR Code Mapping" (frmESOA_Items): builds its controls, connects
// them to their event procedures, holds the procedures of the screen itself, and answers the
// calls that cross from one of its parts to another.
class MainScreen : public QWidget, public ScreenCalls {
    Q_OBJECT
public:
    MainScreen(UserServices& user, Prompter& prompter);

    Controls& controls() { return m_c; }
    StepGuide& steps() { return m_steps; }
    ReferenceSide& reference() { return m_reference; }
    Tables& tables() { return m_tables; }
    ReferenceImport& referenceImport() { return m_import; }
    ListUpdate& listUpdate() { return m_listUpdate; }
    RegisterImport& registerImport() { return m_registerImport; }
    HospitalSide& hospital() { return m_hospital; }
    Mappings& mappings() { return m_mappings; }
    ListExports& listExports() { return m_exports; }
    HistoryScreen& historyScreen() { return m_historyScreen; }
    StatementLogScreen& statementLog() { return m_statementLog; }
    DatabaseCheckScreen& databaseCheck() { return m_databaseCheck; }
    SuggestScreen& suggestions() { return m_suggest; }
    ReviewScreen& review() { return m_review; }
    history::LinkHistory& linkHistory() { return m_history; }

    // The load step: restores the window settings, sets the starting grid columns, runs the
    // start-up loads.
    void Form_Load();

    // The resize step: stretches the lists to the window's outer size. It runs whenever that
    // size may have changed: a resize, the first show, a change of window state, and a move
    // that came with a new frame.
    void Form_Resize();

    // The calls between the screen's parts, each passed to the part that owns it.
    void LoadCategories() override { m_reference.LoadCategories(); }
    void LoadReferenceItems() override { m_reference.LoadReferenceItems(); }
    void SetItemMode(bool inventory) override { m_hospital.SetItemMode(inventory); }
    void ResetWorkArea() override { m_hospital.ResetWorkArea(); }
    void SearchHospitalItems() override { m_hospital.SearchHospitalItems(); }
    void SetExamTable(const QString& examField) override { m_hospital.SetExamTable(examField); }
    void cmdUse_Click() override { m_hospital.cmdUse_Click(); }
    void Grid2_Click() override { m_hospital.Grid2_Click(); }
    void LoadMappings() override { m_mappings.LoadMappings(); }
    bool SaveMapping() override { return m_mappings.cmdEdit_Click(); }
    QString listedTable() const override { return m_mappings.listedTable(); }
    void addLinkHistoryItems(QMenu* menu, int row) override {
        m_suggest.addMappingListItems(menu);
        m_listUpdate.addMenuItems(menu);
        m_review.addMenuItems(menu);
        m_historyScreen.addMenuItems(menu, row);
    }
    void addListMenu(FlexGrid* grid) override { m_exports.installOn(grid); }
    void addSuggestItems(QMenu* menu, FlexGrid* grid) override {
        m_suggest.addMenuItems(menu, grid);
    }
    void drugRegisterImported() override { m_suggest.engine().registerChanged(); }
    void referenceListUpdated() override { m_suggest.engine().forget(); }
    void showLinksToMissingCodes() override { m_suggest.retiredLinks().open(false); }
    void showLink(const QString& table, const QString& code, qint64 linkId) override;

public slots:
    void cmdClose_Click();
    void lblMaint_Click();
    void txtSOADesc_KeyPress(int keyAscii);
    void txtDesc_KeyPress(int keyAscii);
    void txtGeneric_KeyPress(int keyAscii);

protected:
    // The unload step: saves the window settings. Unloading is never cancelled.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Connects every control's event to its procedure.
    void connectEventProcedures();
    void setStartingColumns();
    void runStartupLoads();

    QSize m_laidOutFor;
    UserServices& m_user;
    Prompter& m_prompter;
    Controls m_c;
    StepGuide m_steps{m_c};
    history::LinkHistory m_history;
    FormContext m_form{m_c, m_user, m_prompter, m_steps, m_history, *this};
    HospitalSide m_hospital{m_form};
    Mappings m_mappings{m_form};
    ReferenceSide m_reference{m_form};
    Tables m_tables{m_form};
    ReferenceImport m_import{m_form};
    ListUpdate m_listUpdate{m_form, [this] { return m_import.folder(); }};
    RegisterImport m_registerImport{m_form};
    HistoryScreen m_historyScreen{m_form};
    ListExports m_exports{m_form};
    StatementLogScreen m_statementLog{m_form};
    DatabaseCheckScreen m_databaseCheck{m_form};
    SuggestScreen m_suggest{m_form};
    ReviewScreen m_review{m_form};
};
