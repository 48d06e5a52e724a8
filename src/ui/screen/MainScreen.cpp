#include "MainScreen.h"

#include "ui/screen/Layout.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Prompter.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowSettings.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

MainScreen::MainScreen(UserServices& user, Prompter& prompter)
    : m_user(user)
    , m_prompter(prompter) {
    // Told once in a run, when the history of the links cannot be kept.
    m_history.setNotice([this](const QString& text) {
        m_prompter.message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
    });
    setObjectName(QStringLiteral("frmESOA_Items"));
    setWindowTitle(QStringLiteral("PHIC-VALTOR Code Mapping"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_c = Controls::build(this);
    resize(twips::toPixels(designWidthTwips), twips::toPixels(designHeightTwips));
    connectEventProcedures();
    m_c.txtSOADesc->installEventFilter(this);
    m_c.txtDesc->installEventFilter(this);
    m_c.txtGeneric->installEventFilter(this);
    // The revenue frame moves left as the window narrows: the maintenance link and its frame stay
    // above it, the link on its own background, and the step pointer above all.
    m_c.lblMaint->setAutoFillBackground(true);
    m_c.lblMaint->raise();
    m_c.fraMaint->raise();
    m_c.cmdInst->raise();
}

void MainScreen::connectEventProcedures() {
    connect(m_c.cmdClose, &QPushButton::clicked, this, &MainScreen::cmdClose_Click);
    connect(m_c.lblMaint, &Label::clicked, this, &MainScreen::lblMaint_Click);
    connect(m_c.cmdInst, &QPushButton::clicked, this, [this] { m_steps.cmdInst_Click(); });
    connect(m_c.cmdSearchSOAItem, &QPushButton::clicked, this,
            [this] { m_reference.cmdSearchSOAItem_Click(); });
    connect(m_c.cmdCreateTable, &QPushButton::clicked, this,
            [this] { m_tables.cmdCreateTable_Click(); });
    m_exports.install();
    m_statementLog.install();
    m_registerImport.install(m_statementLog.button());
    m_databaseCheck.install(m_registerImport.button());
    m_listUpdate.install(m_databaseCheck.button());
    connect(m_c.cmdScan, &QPushButton::clicked, this, [this] { m_import.cmdScan_Click(); });
    connect(m_c.cmdPreview, &QPushButton::clicked, this, [this] { m_hospital.cmdPreview_Click(); });
    connect(m_c.cmdUse, &QPushButton::clicked, this, [this] { m_hospital.cmdUse_Click(); });
    connect(m_c.Grid2, &FlexGrid::gridClicked, this, [this] {
        try {
            m_hospital.Grid2_Click();
        } catch (const GridError&) {
            // A click on a list without an item's columns takes nothing.
        }
    });
    connect(m_c.GridRev, &FlexGrid::gridClicked, this, [this] { m_hospital.GridRev_Click(); });
    connect(m_c.GridRevCode, &FlexGrid::gridClicked, this,
            [this] { m_hospital.GridRevCode_Click(); });
    for (int index = 0; index < 2; ++index)
        connect(m_c.optInventory[index], &QRadioButton::clicked, this,
                [this, index] { m_hospital.optInventory_Click(index); });
    connect(m_c.GridCat, &FlexGrid::gridClicked, this, [this] { m_reference.GridCat_Click(); });
    connect(m_c.Grid1, &FlexGrid::gridClicked, this, [this] { m_reference.Grid1_Click(); });
    connect(m_c.GridMap, &FlexGrid::gridClicked, this, [this] { m_mappings.GridMap_Click(); });
    connect(m_c.cmdEdit, &QPushButton::clicked, this, [this] { m_mappings.cmdEdit_Click(); });
    connect(m_c.cmdDelete, &QPushButton::clicked, this, [this] { m_mappings.cmdDelete_Click(); });
    connect(m_c.cmdCheckIfMapped, &QPushButton::clicked, this,
            [this] { m_mappings.cmdCheckIfMapped_Click(); });
    connect(m_c.cmdCheckIfMapped2, &QPushButton::clicked, this,
            [this] { m_mappings.cmdCheckIfMapped2_Click(); });
    connect(m_c.cmdMapAll, &QPushButton::clicked, this, [this] { m_mappings.cmdMapAll_Click(); });
    // Selecting a table option raises its click, whether the user or the program selects it.
    for (int index = 0; index < 2; ++index)
        connect(m_c.optTable[index], &QRadioButton::toggled, this, [this, index](bool selected) {
            if (selected)
                m_reference.optTable_Click(index);
        });
    // Last: the suggestions follow what the screen's own procedures did.
    m_suggest.install();
    m_review.install();
}

void MainScreen::Form_Load() {
    m_user.VALTORClasses().loadwinsettings(this);
    Form_Resize();
    setStartingColumns();
    runStartupLoads();
}

void MainScreen::setStartingColumns() {
    FlexGrid* grid = m_c.Grid1;
    grid->setColWidth(0, 0);
    grid->setColWidth(1, 800);
    grid->setColWidth(2, 1800);
    grid->setColWidth(3, 3000);
    grid = m_c.Grid2;
    grid->setColWidth(0, 800);
    grid->setColWidth(1, 5200);
    grid->setColWidth(2, 1200);
    grid->setColWidth(3, 2500);
    grid = m_c.GridCat;
    grid->setCols(2);
    grid->setColWidth(0, 3500);
    grid = m_c.GridRev;
    grid->setCols(5);
    grid->setColWidth(0, 4000);
    for (int col = 1; col <= 5; ++col)
        grid->setColWidth(col, 0);
    grid = m_c.GridRevCode;
    grid->setCols(2);
    grid->setColWidth(0, 1100);
    grid->setColWidth(1, 3500);
    grid = m_c.GridMap;
    grid->setColWidth(0, 0);
    grid->setColWidth(2, 1500);
    grid->setColWidth(3, 3000);
    grid->setColWidth(7, 3000);
}

void MainScreen::runStartupLoads() {
    m_reference.LoadCategories();
    m_reference.LoadReferenceItems();
    m_hospital.LoadRevenues();
    m_hospital.LoadRevenueCodes();
    // Selecting the ER table raises its click: the table switch runs before the load goes on.
    m_c.optTable[1]->setChecked(true);
    m_steps.ShowStepHint(0);
}

void MainScreen::closeEvent(QCloseEvent* event) {
    // The program ends with the screen: a check or an import still running stops at its next
    // row, and the statement log's and the database check's windows close with it.
    m_mappings.stopRunningCheck();
    m_import.stop();
    m_statementLog.closeWindow();
    m_databaseCheck.closeWindow();
    m_suggest.closeWindow();
    m_user.VALTORClasses().Savewinsettings(this);
    event->accept();
}

void MainScreen::Form_Resize() {
    m_laidOutFor = frameGeometry().size();
    stretchToWindow(m_c, *this);
}

void MainScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Resize();
}

void MainScreen::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager may add its frame after the first show: the outer size grows though
    // the client area does not.
    if (frameGeometry().size() != m_laidOutFor)
        Form_Resize();
}

void MainScreen::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void MainScreen::keyPressEvent(QKeyEvent* event) {
    // cmdClose is the cancel button: Esc closes the screen, though the button stays hidden. Esc
    // in a window of the screen's closes that window only.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        cmdClose_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainScreen::showLink(const QString& table, const QString& code, qint64 linkId) {
    if (m_c.lblESOATableName->text() != table) {
        const int index = table == u"ESOA_ITEM" ? 0 : 1;
        m_c.optTable[index]->setChecked(true);
    }
    if (!m_reference.showItem(code)) {
        // A code the list no longer has: its links all the same.
        m_c.txtESOACode->setText(code);
        m_mappings.LoadMappings();
    }
    m_mappings.selectLink(linkId);
}

void MainScreen::cmdClose_Click() {
    close();
}

void MainScreen::lblMaint_Click() {
    m_c.fraMaint->setVisible(!m_c.fraMaint->isVisible());
}

void MainScreen::txtSOADesc_KeyPress(int keyAscii) {
    if (keyAscii == 13)
        m_reference.cmdSearchSOAItem_Click();
}

void MainScreen::txtDesc_KeyPress(int keyAscii) {
    if (keyAscii == 13)
        m_hospital.cmdPreview_Click();
}

void MainScreen::txtGeneric_KeyPress(int keyAscii) {
    // Enter searches, as it does in the name filter.
    if (keyAscii == 13)
        m_hospital.cmdPreview_Click();
}

bool MainScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int ascii = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            ascii = 13;
        else if (!key->text().isEmpty())
            ascii = key->text().at(0).unicode();
        if (ascii != 0) {
            if (watched == m_c.txtSOADesc)
                txtSOADesc_KeyPress(ascii);
            else if (watched == m_c.txtDesc)
                txtDesc_KeyPress(ascii);
            else if (watched == m_c.txtGeneric)
                txtGeneric_KeyPress(ascii);
        }
    }
    return QWidget::eventFilter(watched, event);
}
