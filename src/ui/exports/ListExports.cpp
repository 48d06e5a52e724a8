#include "ListExports.h"

#include "core/reports/MappingReports.h"
#include "core/review/LinkReview.h"
#include "core/text/Csv.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

ListExports::ListExports(FormContext& form)
    : m_form(form) {}

void ListExports::install() {
    Controls& c = m_form.c;
    for (FlexGrid* grid : {c.Grid1, c.Grid2, c.GridCat, c.GridRev, c.GridRevCode, c.GridMap})
        installOn(grid);
}

void ListExports::installOn(FlexGrid* grid) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
        const QModelIndex index = grid->indexAt(at);
        QMenu* menu = menuFor(grid, index.isValid() ? index.row() + grid->fixedRows() : -1);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(grid->viewport()->mapToGlobal(at));
    });
    auto* copy = new QShortcut(QKeySequence::Copy, grid, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, [this, grid] { copySelection(grid); });
}

QMenu* ListExports::menuFor(FlexGrid* grid, int clickedRow) {
    auto* menu = new QMenu(grid);
    menu->setObjectName(grid->objectName() + QStringLiteral("_menu"));
    menu->addAction(QStringLiteral("Copy"), this, [this, grid] { copySelection(grid); });
    menu->addAction(QStringLiteral("Export list to CSV..."), this,
                    [this, grid] { exportList(grid); });
    if (grid == m_form.c.GridMap) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("Export all mappings..."), this,
                        [this] { exportAllMappings(); });
        m_form.screen.addLinkHistoryItems(menu, clickedRow < 0 ? grid->row() : clickedRow);
    }
    if (grid == m_form.c.Grid1 || grid == m_form.c.Grid2)
        m_form.screen.addSuggestItems(menu, grid);
    if (grid == m_form.c.GridCat) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("Coverage by category..."), this,
                        [this] { showCoverage(); });
    }
    return menu;
}

void ListExports::copySelection(FlexGrid* grid) {
    const QString text = grid->selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

bool ListExports::saveTable(const QString& title, const QString& suggested,
                            const std::function<TextTable()>& table) {
    const QString path = m_form.prompter.saveFileName(title, suggested);
    if (path.isEmpty())
        return false;
    QString failure;
    {
        WaitCursor wait;
        try {
            const TextTable t = table();
            failure = csv::writeFile(path, t.columns, t.rows);
            if (!failure.isEmpty())
                failure = QStringLiteral("The file %1 was not written: %2").arg(path, failure);
        } catch (const DbError& e) {
            failure = e.description();
        }
    }
    if (!failure.isEmpty())
        m_form.prompter.message(failure);
    return failure.isEmpty();
}

void ListExports::exportList(FlexGrid* grid) {
    saveTable(QStringLiteral("Export list to CSV"), grid->objectName() + QStringLiteral(".csv"),
              [grid] { return grid->shownTable(); });
}

void ListExports::exportAllMappings() {
    const QString table = m_form.c.lblESOATableName->text();
    saveTable(QStringLiteral("Export all mappings"), table + QStringLiteral("_mappings.csv"),
              [this, table] {
                  return m_form.db().query(reports::allMappingsStatement(table, reviewKept()));
              });
}

bool ListExports::reviewKept() {
    return m_form.history.present(m_form.db()) && review::present(m_form.db());
}

void ListExports::showCoverage() {
    const QString table = m_form.c.lblESOATableName->text();
    TextTable rows;
    try {
        WaitCursor wait;
        rows = reports::coverageTable(reports::coverage(m_form.db(), table, reviewKept()));
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
        return;
    }
    QDialog dialog(m_form.c.GridCat->window());
    dialog.setObjectName(QStringLiteral("dlgCoverage"));
    dialog.setWindowTitle(QStringLiteral("Coverage by category - ") + table);
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(QStringLiteral("Reference items of %1 with at least one link, "
                                              "worst covered first")
                                   .arg(table),
                               &dialog);
    layout->addWidget(caption);
    auto* grid = new FlexGrid(&dialog);
    grid->setObjectName(QStringLiteral("GridCoverage"));
    grid->bind(rows);
    grid->setColWidth(0, 3500);
    for (int col = 1; col < grid->cols(); ++col)
        grid->setColWidth(col, col == grid->cols() - 1 ? 2000 : 1200);
    layout->addWidget(grid);
    auto* buttons = new QHBoxLayout;
    auto* exportButton = new QPushButton(QStringLiteral("Export to CSV..."), &dialog);
    exportButton->setObjectName(QStringLiteral("cmdCoverageExport"));
    auto* close = new QPushButton(QStringLiteral("Close"), &dialog);
    close->setObjectName(QStringLiteral("cmdCoverageClose"));
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(exportButton, &QPushButton::clicked, &dialog, [this, &rows, table] {
        saveTable(QStringLiteral("Export to CSV"), table + QStringLiteral("_coverage.csv"),
                  [&rows] { return rows; });
    });
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.resize(720, 480);
    QTimer::singleShot(0, &dialog, [this, &dialog] { emit coverageShown(&dialog); });
    dialog.exec();
}
