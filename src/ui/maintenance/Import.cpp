// The import of the PhilHealth reference lists. It lets the screen handle its events after
// every line, so it must survive what the user does meanwhile: the table it writes and the
// fields it reads are fixed when it starts, a second click starts nothing, and a save made
// between two lines is committed on its own while the import commits its lines in batches.
#include "Import.h"

#include "core/db/Gateway.h"
#include "core/maintenance/ImportFile.h"
#include "core/maintenance/ReferenceAdds.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/LongWork.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Lines are committed in batches: a program killed during an import leaves the table as of
// its last batch, and a batch is short enough that little is read again.
constexpr int batchLines = 2000;
constexpr int batchMilliseconds = 250;

} // namespace

ReferenceImport::ReferenceImport(FormContext& form)
    : m_form(form)
    , m_folder(QCoreApplication::applicationDirPath()) {}

void ReferenceImport::cmdScan_Click() {
    if (m_running)
        return;
    RunningFlag running(m_running);
    m_stop = false;
    const Controls& c = m_form.c;
    const QString table = c.lblESOATableName->text();
    const bool items = c.optTable[0]->isChecked();
    const bool er = c.optTable[1]->isChecked();
    if (items) {
        ImportReferenceFile(QStringLiteral("ESOA_ITEM"), table);
        if (!m_stop)
            ImportReferenceFile(QStringLiteral("ESOA_MEDICINE"), table);
    }
    if (er && !m_stop)
        ImportReferenceFile(QStringLiteral("ESOA_ER"), table);
    if (m_stop)
        return; // the screen is gone: nothing to show the lists on
    m_form.screen.LoadCategories();
    m_form.screen.SetItemMode(false);
    m_form.screen.LoadReferenceItems();
    m_form.prompter.message(QStringLiteral("Done."));
}

QString ReferenceImport::filePath(const QString& name) const {
    return QDir(m_folder).filePath(name + QStringLiteral(".csv"));
}

void ReferenceImport::setHourglass(bool on) {
    // The form's own pointer, and the application's, so that it shows over every control.
    if (!on)
        m_hourglass.reset();
    else if (!m_hourglass)
        m_hourglass.emplace(m_form.c.cmdScan->window());
}

void ReferenceImport::report(const QString& description) {
    setHourglass(false);
    m_form.prompter.message(description);
}

void ReferenceImport::ImportReferenceFile(const QString& name, const QString& table) {
    setHourglass(true);
    QCoreApplication::processEvents();
    const QString path = filePath(name);
    QByteArray bytes;
    if (const QString failure = importfile::readWhole(path, bytes); !failure.isEmpty()) {
        report(failure);
        return;
    }

    Gateway& db = m_form.db();
    auto trap = [this](const QString& description) { report(description); };
    // New codes wait there to be written a hundred to a statement, before each commit of the
    // batch and before anything else the screen sends meanwhile.
    ReferenceAdds adds(db, table, importfile::referenceColumns(table), trap);
    WriteBatch batch(db, batchLines, batchMilliseconds);
    batch.setBeforeCommit([&adds] { adds.flush(); });
    for (const QString& line : importfile::readLines(bytes)) {
        const importfile::ReferenceRecord record = importfile::decodeLine(line, name, table);
        try {
            batch.beginRecord();
        } catch (const DbError& e) {
            report(e.description()); // the line is written on its own
        }
        importfile::mergeRecord(db, table, record, trap, &adds);
        try {
            batch.endRecord();
        } catch (const DbError& e) {
            report(e.description());
        }
        QCoreApplication::processEvents();
        if (m_stop)
            break;
    }
    try {
        batch.finish();
    } catch (const DbError& e) {
        report(e.description());
    }
    setHourglass(false);
}
