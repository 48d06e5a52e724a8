// The main screen as designed and after its load: every control in its place and its starting
// state, the focus order and access keys, the maintenance link, the starting columns, and Esc.
#include "ScreenFixture.h"

#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/Twips.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

class TestMainScreen : public QObject, ScreenFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { closeScreen(); }

    void controlsStandInTheirPlaces_data();
    void controlsStandInTheirPlaces();
    void startingStateOfTheControls();
    void focusOrderSkipsHiddenControls();
    void accessKeys();
    void maintenanceLinkShowsAndHidesTheFrame();
    void startingColumnWidths();
    void escapeClosesTheScreen();
};

void TestMainScreen::initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("BrevantTests"));
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
}

void TestMainScreen::init() {
    QSettings().clear();
}

void TestMainScreen::controlsStandInTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place");
    struct Row {
        const char *name, *parent, *caption;
        int l, t, w, h;
    };
    const Row rows[] = {
        {"Frame3", "frmESOA_Items", "1. Select Type", 120, 240, 1695, 2175},
        {"optTable_0", "Frame3", "ESOA ITEM", 240, 360, 1335, 195},
        {"optTable_1", "Frame3", "PHIC ER Item", 240, 600, 1335, 195},
        {"lblESOATableName", "Frame3", "ESOA_ITEM", 240, 960, 1335, 255},
        {"lblTableName", "Frame3", "ESOA_ITEM", 240, 1200, 1335, 255},
        {"Label4", "frmESOA_Items", "2. Select Category of Department", 1920, 120, 3375, 255},
        {"GridCat", "frmESOA_Items", "", 1920, 360, 4215, 2055},
        {"Frame2", "frmESOA_Items", "4. Search and Link VALTOR Item/Procedure and Save", 6240, 240,
         7575, 2175},
        {"Label9", "Frame2", "PHIC Item", 120, 300, 1095, 225},
        {"txtESOACode", "Frame2", "", 1320, 240, 855, 330},
        {"txtESOADesc", "Frame2", "", 2280, 240, 4575, 330},
        {"cmdUse", "Frame2", "use", 6960, 240, 495, 330},
        {"txtFixedFee", "Frame2", "", 1320, 600, 855, 330},
        {"txtChargingUnit", "Frame2", "", 2280, 600, 855, 330},
        {"Label5", "Frame2", "Type", 120, 1020, 1095, 225},
        {"txtType", "Frame2", "INV", 1320, 960, 855, 330},
        {"optInventory_0", "Frame2", "Inventory", 2520, 960, 1215, 255},
        {"optInventory_1", "Frame2", "Procedure", 3720, 960, 1215, 255},
        {"Label2", "Frame2", "RevID", 120, 1380, 1095, 225},
        {"txtRevID", "Frame2", "", 1320, 1320, 855, 330},
        {"lblS", "Frame2", "SectionID", 2160, 1380, 855, 225},
        {"txtSectionID", "Frame2", "", 3120, 1320, 615, 330},
        {"Label10", "Frame2", "VALTOR Item", 120, 1740, 1095, 225},
        {"txtVALTORItemID", "Frame2", "", 1320, 1680, 855, 330},
        {"txtVALTORitemDesc", "Frame2", "", 2280, 1680, 3495, 330},
        {"cmdEdit", "Frame2", "5. Sa&ve Mapping", 5880, 1560, 1575, 450},
        {"Label7", "frmESOA_Items", "3. Philhealth Table", 120, 2520, 8055, 255},
        {"Label6", "frmESOA_Items", "S&earch", 120, 2820, 1455, 225},
        {"txtSOADesc", "frmESOA_Items", "", 1680, 2760, 2175, 330},
        {"cmdSearchSOAItem", "frmESOA_Items", "Sea&rch", 3960, 2760, 1575, 450},
        {"Label1", "frmESOA_Items", "Category", 120, 3180, 1455, 225},
        {"txtAreaCat", "frmESOA_Items", "", 1680, 3120, 2175, 330},
        {"cmdCheckIfMapped", "frmESOA_Items", "Check Listed if Mapped", 5640, 2520, 1575, 450},
        {"chkAutoSearch", "frmESOA_Items", "Auto Search-->", 5640, 3120, 1935, 255},
        {"Label12", "frmESOA_Items", "VALTOR Table", 7440, 2520, 4215, 255},
        {"Label3", "frmESOA_Items", "S&earch", 7320, 2820, 1455, 225},
        {"txtDesc", "frmESOA_Items", "", 8880, 2760, 2775, 330},
        {"cmdPreview", "frmESOA_Items", "&Search", 11760, 2760, 1575, 450},
        {"lblG", "frmESOA_Items", "&Generic", 7320, 3180, 1455, 225},
        {"txtGeneric", "frmESOA_Items", "", 8880, 3120, 2775, 330},
        {"cmdCheckIfMapped2", "frmESOA_Items", "Check Listed if Mapped", 13440, 2520, 1575, 450},
        {"cmdMapAll", "frmESOA_Items", "Map ALL Listed", 13440, 3000, 1575, 450},
        {"Grid1", "frmESOA_Items", "", 120, 3480, 7215, 7755},
        {"Grid2", "frmESOA_Items", "", 7440, 3480, 9135, 7755},
        {"cmdInst", "frmESOA_Items", "<---Select", 5280, 8520, 2535, 495},
        {"lblMaint", "frmESOA_Items", "Maintenance...", 15000, 0, 1215, 255},
        {"fraMaint", "frmESOA_Items", "Maintenance", 15000, 240, 1935, 1455},
        {"cmdCreateTable", "fraMaint", "a. Create Tables", 120, 240, 1695, 495},
        {"cmdScan", "fraMaint", "b. Scan && Import", 120, 840, 1695, 495},
        {"cmdClose", "frmESOA_Items", "Close", 15120, 1800, 1695, 495},
        {"lblIDFieldName", "frmESOA_Items", "", 15960, 480, 1575, 330},
        {"lblExamFieldName", "frmESOA_Items", "", 15960, 960, 1575, 330},
        {"lblTable", "frmESOA_Items", "", 15960, 1440, 1575, 330},
        {"fraR", "frmESOA_Items", "Revenue Codes", 16680, 0, 4335, 11295},
        {"GridRev", "fraR", "", 120, 240, 4095, 3195},
        {"GridRevCode", "fraR", "", 120, 3480, 4095, 7755},
        {"fraMap", "frmESOA_Items", "Mapping", 120, 11280, 18855, 3015},
        {"cmdDelete", "fraMap", "Delete map", 1200, 0, 1215, 330},
        {"GridMap", "fraMap", "", 120, 360, 18615, 2595},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.parent)
                              << QString::fromLatin1(r.caption) << QRect(r.l, r.t, r.w, r.h);
}

static QString captionOf(QWidget* w) {
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        return frame->title();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    return QString();
}

void TestMainScreen::controlsStandInTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    // The design places, before the window's first stretch.
    auto& screen = openScreen(false, false);
    QWidget* w = screen->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(captionOf(w), caption);
    QCOMPARE(QRect(twips::left(w), twips::top(w), twips::width(w), twips::height(w)), place);
    // The pixels are the twips at 96 DPI, to the nearest pixel.
    const QRect px = w->geometry();
    QVERIFY(qAbs(twips::fromPixels(px.x()) - place.x()) <= 7);
    QVERIFY(qAbs(twips::fromPixels(px.width()) - place.width()) <= 7);
}

void TestMainScreen::startingStateOfTheControls() {
    auto& screen = openScreen(true);
    Controls& c = screen->controls();
    QCOMPARE(screen->windowTitle(), QStringLiteral("PHIC-VALTOR Code Mapping"));
    QCOMPARE(twips::toPixels(20160), 1344); // 15 twips a pixel at 96 DPI
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{c.lblTableName, c.fraMaint, c.cmdClose, c.lblIDFieldName,
                                         c.lblExamFieldName, c.lblTable})
        QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QVERIFY(c.optTable[0]->isChecked() || c.optTable[1]->isChecked());
    QVERIFY(!c.optInventory[0]->isChecked() || !c.optInventory[1]->isChecked());
    QVERIFY(c.chkAutoSearch->isChecked());
    for (QLineEdit* readOnly : {c.txtESOACode, c.txtESOADesc, c.txtFixedFee, c.txtChargingUnit,
                                c.txtType, c.txtVALTORItemID, c.txtVALTORitemDesc})
        QVERIFY2(readOnly->isReadOnly(), qPrintable(readOnly->objectName()));
    for (QLineEdit* editable :
         {c.txtRevID, c.txtSectionID, c.txtSOADesc, c.txtAreaCat, c.txtDesc, c.txtGeneric}) {
        QVERIFY2(!editable->isReadOnly(), qPrintable(editable->objectName()));
        QCOMPARE(editable->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QCOMPARE(c.txtType->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(c.txtESOACode->palette().color(QPalette::Base) != QColor(Qt::white));
    QVERIFY(c.cmdInst->font().weight() >= QFont::DemiBold);
    QCOMPARE(c.cmdInst->font().pointSize(), 9);
    QVERIFY(c.cmdInst->styleSheet().contains(QStringLiteral("rgb(255, 255, 192)")));
    QVERIFY(c.lblMaint->font().underline());
    QVERIFY(c.Label7->font().underline());
    QCOMPARE(c.Label9->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(c.Label7->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(screen->font().pointSizeF(), 8.25);
    // Segoe UI where the system has it (every Windows); else a sans-serif of close width.
    const QString family = QFontInfo(screen->font()).family();
    if (QFontDatabase::hasFamily(QStringLiteral("Segoe UI")))
        QCOMPARE(family, QStringLiteral("Segoe UI"));
    else
        QVERIFY2(QStringList({"Liberation Sans", "Arial", "DejaVu Sans"}).contains(family),
                 qPrintable(family));
}

void TestMainScreen::focusOrderSkipsHiddenControls() {
    // The screen opens in procedure mode: the generic name box is hidden and passed over.
    auto& screen = openScreen(true);
    QVERIFY(screen->controls().txtGeneric->isHidden());
    const QStringList expected = {
        "optTable_1",       "GridCat",      "txtSOADesc",       "txtAreaCat",
        "cmdSearchSOAItem", "Grid1",        "txtESOACode",      "txtESOADesc",
        "cmdUse",           "txtFixedFee",  "txtChargingUnit",  "txtType",
        "txtRevID",         "txtSectionID", "txtVALTORItemID",  "txtVALTORitemDesc",
        "cmdEdit",          "txtDesc",      "cmdPreview",       "Grid2",
        "cmdMapAll",        "cmdInst",      "cmdCheckIfMapped", "cmdCheckIfMapped2",
        "chkAutoSearch",    "GridMap",      "cmdDelete",        "GridRev",
        "GridRevCode"};
    QWidget* w = screen->controls().optTable[0];
    QStringList order;
    // Walk the chain the Tab key follows, keeping the controls it can stop at now.
    for (int i = 0; i < 2000 && order.size() < expected.size(); ++i) {
        w = w->nextInFocusChain();
        if (w->isVisibleTo(screen.get()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            expected.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
    }
    QCOMPARE(order.join(u' '), expected.join(u' '));
    // Hidden controls and those in the hidden maintenance frame are not in reach.
    QVERIFY(!screen->controls().cmdClose->isVisibleTo(screen.get()));
    QVERIFY(!screen->controls().cmdScan->isVisibleTo(screen.get()));
}

void TestMainScreen::accessKeys() {
    auto& screen = openScreen(false);
    Controls& c = screen->controls();
    QCOMPARE(c.Label6->buddy(), c.txtSOADesc);
    QCOMPARE(c.Label3->buddy(), c.txtDesc);
    QCOMPARE(c.lblG->buddy(), c.txtGeneric);
    QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    QTest::keyClick(screen.get(), Qt::Key_G, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), c.txtGeneric);
}

void TestMainScreen::maintenanceLinkShowsAndHidesTheFrame() {
    auto& screen = openScreen(true);
    Controls& c = screen->controls();
    QVERIFY(c.fraMaint->isHidden());
    QTest::mouseClick(c.lblMaint, Qt::LeftButton);
    QVERIFY(c.fraMaint->isVisible());
    QVERIFY(c.cmdCreateTable->isVisible());
    QTest::mouseClick(c.lblMaint, Qt::LeftButton);
    QVERIFY(c.fraMaint->isHidden());
}

void TestMainScreen::startingColumnWidths() {
    auto& screen = openScreen(true);
    Controls& c = screen->controls();
    QCOMPARE(c.Grid1->colWidth(0), 0);
    QCOMPARE(c.Grid1->colWidth(3), 3000);
    QCOMPARE(c.Grid2->colWidth(1), 5200);
    QCOMPARE(c.GridCat->colWidth(0), 3500);
    QCOMPARE(c.GridRev->colWidth(0), 4000);
    for (int col = 1; col <= 5; ++col)
        QCOMPARE(c.GridRev->colWidth(col), 0);
    QCOMPARE(c.GridRevCode->colWidth(1), 3500);
    QCOMPARE(c.GridMap->colWidth(7), 3000);
    // Column 7 of the mapping list takes its width once a result with it is shown.
    TextTable links;
    for (int i = 0; i < 12; ++i)
        links.columns << QStringLiteral("c%1").arg(i);
    c.GridMap->bind(links);
    QCOMPARE(c.GridMap->columnWidth(7), twips::toPixels(3000));
    QVERIFY(c.GridMap->isColumnHidden(0));
}

void TestMainScreen::escapeClosesTheScreen() {
    auto& screen = openScreen(true);
    QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    QTest::keyClick(screen->controls().txtDesc, Qt::Key_Escape);
    QVERIFY(!screen->isVisible());
    QVERIFY(QSettings().contains(QStringLiteral("windows/frmESOA_Items/geometry")));
}

QTEST_MAIN(TestMainScreen)
#include "tst_mainscreen.moc"
