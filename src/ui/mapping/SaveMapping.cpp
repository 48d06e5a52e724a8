// The save of a mapping: a fixed sequence of numbered steps. The numbers are the line numbers
// that a failure message names, so a clerk (or whoever reads the message for them) can tell
// which step failed; after a failure the save goes on with the next step.
#include "ui/mapping/Mappings.h"

#include "core/text/FeeText.h"
#include "core/tsql/SqlText.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FlexGrid.h"

#include <QLineEdit>

namespace {

// The step that follows a failing one: the next line, so that a failing test counts as true.
// The two guard messages and the last step end the save.
int lineAfterFailure(int line) {
    return line == 102 || line == 106 || line >= 150 ? 0 : line + 2;
}

// A box's text as a column takes it: an empty box writes an empty string, never NULL.
QString columnText(const QLineEdit* box) {
    const QString text = box->text();
    return text.isNull() ? QString::fromLatin1("") : text;
}

// The text columns of the link row, each with the line that sets it and the box it comes
// from. ItemID and RevenueID are set on a new row only (the save goes from 120 to 128 for a row
// it found); SortOrder is never written.
struct TextField {
    int line;
    const char* column;
    QLineEdit* Controls::*box;
};
const TextField textFields[] = {
    {124, "ItemID", &Controls::txtVALTORItemID},
    {126, "RevenueID", &Controls::txtRevID},
    {128, "ItemDesc", &Controls::txtVALTORitemDesc},
    {130, "InvOrProc", &Controls::txtType},
    {132, "CODE", &Controls::txtESOACode},
    {134, "SectionID", &Controls::txtSectionID},
    {136, "Category", &Controls::txtAreaCat},
    {138, "Description", &Controls::txtESOADesc},
    {142, "ChargingUnit", &Controls::txtChargingUnit},
};

// The two guards: the line that tests that a box holds a text, and the message the line after it
// shows before the save ends.
struct Guard {
    int line;
    QLineEdit* Controls::*box;
    const char* message;
};
const Guard guards[] = {
    {100, &Controls::txtESOACode, "Select ESOA item."},
    {104, &Controls::txtVALTORItemID, "Select VALTOR item."},
};

// The guard tested at line 100 or 104.
const Guard& guardAt(int line) {
    return line == guards[0].line ? guards[0] : guards[1];
}

const TextField* textFieldOf(int line) {
    for (const TextField& field : textFields)
        if (field.line == line)
            return &field;
    return nullptr;
}

} // namespace

void Mappings::reportSaveFailure(const QString& description, int line) {
    m_form.prompter.message(description + QStringLiteral("\r\n") +
                                QStringLiteral("in Brevant.frmESOA_Items.cmdEdit_Click ") +
                                QStringLiteral("at line ") + QString::number(line),
                            Prompter::Buttons::Ok, Prompter::Icon::Warning,
                            QStringLiteral("Application Error"));
}

bool Mappings::cmdEdit_Click() {
    Controls& c = m_form.c;
    bool written = false;
    QString sql;
    WriteCursor row;
    int line = 100;
    while (line != 0) {
        int next = line + 2;
        try {
            switch (line) {
            case 100: // a guard: its box holds a text, or the next line ends the save
            case 104:
                if (!(c.*guardAt(line).box)->text().isEmpty())
                    next = line + 4;
                break;
            case 102:
            case 106:
                m_form.prompter.message(QLatin1String(guardAt(line - 2).message));
                next = 0;
                break;
            case 108:
                sql = QStringLiteral("SELECT * FROM ") +
                      sql::buildFileName(c.lblESOATableName->text() + QStringLiteral("_LINK")) +
                      u' ';
                break;
            case 110:
                sql += QStringLiteral(" WHERE ");
                break;
            case 112:
                sql += QStringLiteral("     RevenueID =") + sql::quoted(c.txtRevID->text());
                break;
            case 114:
                sql += QStringLiteral(" AND ItemID    =") + sql::quoted(c.txtVALTORItemID->text());
                break;
            case 116:
                row = WriteCursor();
                break;
            case 118:
                row = m_form.db().openForWrite(sql);
                break;
            case 120:
                if (!row.atEnd())
                    next = 128;
                break;
            case 122:
                row.addNew();
                break;
            case 140:
                row.setField(QStringLiteral("FixedFee"), fee::fromText(c.txtFixedFee->text()));
                break;
            case 144:
                // The write and its history row go together.
                m_form.history.saveRow(m_form.db(), row);
                written = true;
                break;
            case 146:
                row.close();
                break;
            case 148:
                LoadMappings();
                break;
            case 150:
                m_form.steps.ShowStepHint(6);
                next = 0;
                break;
            default: // 124 to 142 but 140: a text column takes its box's text
                if (const TextField* field = textFieldOf(line))
                    row.setField(QLatin1String(field->column), columnText(c.*field->box));
                else
                    next = 0;
                break;
            }
        } catch (const DbError& e) {
            reportSaveFailure(e.description(), line);
            next = lineAfterFailure(line);
        } catch (const std::exception& e) {
            reportSaveFailure(QString::fromLocal8Bit(e.what()), line);
            next = lineAfterFailure(line);
        }
        line = next;
    }
    return written;
}
