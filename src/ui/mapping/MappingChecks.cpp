// The mapped-or-not checks of both item lists and the mapping of a whole list. The checks let
// the screen handle its events after every row, so they must survive whatever the user does
// meanwhile: a second click starts nothing new, and a list reloaded, emptied or shortened under
// a check (or a switch of the reference table) ends the check before it marks a row that is no
// longer the row it asked about.
#include "ui/mapping/Mappings.h"

#include "core/reports/MappingReports.h"
#include "core/text/Percent.h"
#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"
#include "ui/widgets/LongWork.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

namespace {

const QColor mappedColour(0, 255, 0);
const QColor notMappedColour(255, 255, 0);

} // namespace

void Mappings::checkRows(FlexGrid* grid, const QString& table, QWidget* button,
                         const std::function<bool(int row)>& checkRow) {
    const quint64 version = grid->listVersion();
    const int rows = grid->rows();
    int checked = 0, mapped = 0;
    // The button tells the result of its last run, however the run ended.
    const auto tell = qScopeGuard([&] {
        button->setToolTip(QStringLiteral("%1 of %2 listed items mapped (%3)")
                               .arg(mapped)
                               .arg(checked)
                               .arg(text::percent(mapped, checked)));
    });
    try {
        for (int i = 1; i < rows; ++i) {
            grid->setRow(i);
            mapped += checkRow(i) ? 1 : 0;
            ++checked;
            QCoreApplication::processEvents();
            // Go on only with the same list (not reloaded, emptied or shortened), the same
            // reference table, and no stop asked for.
            if (m_stopCheck || grid->listVersion() != version ||
                m_form.c.lblESOATableName->text() != table)
                return;
        }
    } catch (const DbError& e) {
        m_form.prompter.message(e.description());
    } catch (const GridError& e) {
        m_form.prompter.message(QString::fromLocal8Bit(e.what()));
    }
}

void Mappings::cmdCheckIfMapped_Click() {
    if (m_checkRunning)
        return;
    RunningFlag running(m_checkRunning);
    m_stopCheck = false;
    FlexGrid* grid = m_form.c.Grid1;
    const QString table = m_form.c.lblESOATableName->text();
    const QString links = sql::buildFileTable(table + QStringLiteral("_LINK"));
    checkRows(grid, table, m_form.c.cmdCheckIfMapped, [&](int i) {
        const QString sql = QStringLiteral("SELECT TOP 1 1 FROM ") + links +
                            QStringLiteral(" WITH (NOLOCK) WHERE Code=") +
                            sql::quoted(grid->textMatrix(i, 1)) + QStringLiteral(" ");
        Lookup found = m_form.db().lookup(sql, Rowset::ForwardReadOnly);
        grid->setCol(3);
        const bool isMapped = !found.atEnd();
        grid->setCellBackColor(isMapped ? mappedColour : notMappedColour);
        found.close();
        return isMapped;
    });
}

void Mappings::cmdCheckIfMapped2_Click() {
    if (m_checkRunning)
        return;
    RunningFlag running(m_checkRunning);
    m_stopCheck = false;
    Controls& c = m_form.c;
    FlexGrid* grid = c.Grid2;
    // Every row is asked the same question: the table and revenue code of the click.
    const QString table = c.lblESOATableName->text();
    const QString revenue = c.txtRevID->text();
    const QString links = sql::buildFileTable(table + QStringLiteral("_LINK"));
    grid->setCols(3);
    checkRows(grid, table, c.cmdCheckIfMapped2, [&](int i) {
        const QString sql = reports::linkedCodeStatement(links, revenue, grid->textMatrix(i, 0));
        Lookup found = m_form.db().lookup(sql, Rowset::ForwardReadOnly);
        grid->setCol(1);
        const bool isMapped = !found.atEnd();
        if (!isMapped) {
            grid->setCellBackColor(notMappedColour);
        } else {
            grid->setCellBackColor(mappedColour);
            grid->setTextMatrix(i, 2, sql::displayText(found.field(0)));
        }
        found.close();
        return isMapped;
    });
}

void Mappings::cmdMapAll_Click() {
    if (m_form.prompter.message(QStringLiteral("Are you sure to map all listed?"),
                                Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    FlexGrid* grid = m_form.c.Grid2;
    const int rows = grid->rows();
    const quint64 version = grid->listVersion();
    // The run's saves share one batch of the history, which the mapping list can undo.
    history::LinkHistory::Batch batch(m_form.history, QStringLiteral("map all"));
    // Every save commits its own row, so a run that is cut short keeps each row it saved. The
    // run ends if the list is replaced under it: it maps only the list the user confirmed.
    for (int i = 1; i < rows && grid->listVersion() == version; ++i) {
        try {
            grid->setRow(i);
            m_form.screen.Grid2_Click();
        } catch (const std::exception& e) {
            m_form.prompter.message(QString::fromLocal8Bit(e.what()));
            continue;
        }
        cmdEdit_Click();
    }
}
