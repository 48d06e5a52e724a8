#pragma once

#include "ui/widgets/LongWork.h"

#include <QString>

#include <optional>

struct FormContext;

// "b. Scan && Import": fills the current reference table from the PhilHealth lists in the
// program's folder. A code the table holds already keeps its row as it is; new codes are added.
class ReferenceImport {
public:
    explicit ReferenceImport(FormContext& form);

    // Imports the files of the chosen table, reloads the lists and says "Done.". The table and
    // its files are the ones chosen when the click came: a switch of the table while the import
    // runs changes neither. A click while an import runs starts nothing.
    void cmdScan_Click();

    // Reads the file of `name` into `table`, one record per line, each failing step reported
    // and the next one run. A file that cannot be read is reported once and imports nothing.
    void ImportReferenceFile(const QString& name, const QString& table);

    // The folder the import files are read from: the program's folder unless set otherwise.
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder) { m_folder = folder; }

    bool isRunning() const { return m_running; }
    // Ends a running import after its current line (the screen is closing); what it read so
    // far stays committed.
    void stop() { m_stop = true; }

private:
    QString filePath(const QString& name) const;
    void setHourglass(bool on);
    void report(const QString& description);

    FormContext& m_form;
    QString m_folder;
    bool m_running = false;
    bool m_stop = false;
    std::optional<WaitCursor> m_hourglass;
};
