// The save of a mapping: a fixed sequence of numbered steps. The numbers are the line numbers
// that a failure message names, so a clerk (or whoever reads the message for them) can tell
// which step failed; after a failure the save goes on with the next step.
#include "Mappings.h"

#include "app/SqlText.h"
#include "mapping/FeeText.h"
#include "screen/FlexGrid.h"
#include "screen/FormContext.h"

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

} // namespace

void Mappings::reportSaveFailure(const QString& description, int line) {
    m_form.prompter.message(description + QStringLiteral("\r\n") +
                                QStringLiteral("in Brevant.frmESOA_Items.cmdEdit_Click ") +
                                QStringLiteral("at line ") + QString::number(line),
                            Prompter::Buttons::Ok, Prompter::Icon::Warning,
                            QStringLiteral("Application Error"));
}

void Mappings::cmdEdit_Click() {
    Controls& c = m_form.c;
    QString sql;
    WriteCursor row;
    int line = 100;
    while (line != 0) {
        int next = line + 2;
        try {
            switch (line) {
            case 100:
                if (!c.txtESOACode->text().isEmpty())
                    next = 104;
                break;
            case 102:
                m_form.prompter.message(QStringLiteral("Select ESOA item."));
                next = 0;
                break;
            case 104:
                if (!c.txtVALTORItemID->text().isEmpty())
                    next = 108;
                break;
            case 106:
                m_form.prompter.message(QStringLiteral("Select VALTOR item."));
                next = 0;
                break;
            case 108:
                sql = QStringLiteral("SELECT * FROM [Build_FIle].[dbo].") +
                      c.lblESOATableName->text() + QStringLiteral("_LINK ");
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
            case 124:
                row.setField(QStringLiteral("ItemID"), columnText(c.txtVALTORItemID));
                break;
            case 126:
                row.setField(QStringLiteral("RevenueID"), columnText(c.txtRevID));
                break;
            case 128:
                row.setField(QStringLiteral("ItemDesc"), columnText(c.txtVALTORitemDesc));
                break;
            case 130:
                row.setField(QStringLiteral("InvOrProc"), columnText(c.txtType));
                break;
            case 132:
                row.setField(QStringLiteral("CODE"), columnText(c.txtESOACode));
                break;
            case 134:
                row.setField(QStringLiteral("SectionID"), columnText(c.txtSectionID));
                break;
            case 136:
                row.setField(QStringLiteral("Category"), columnText(c.txtAreaCat));
                break;
            case 138:
                row.setField(QStringLiteral("Description"), columnText(c.txtESOADesc));
                break;
            case 140:
                row.setField(QStringLiteral("FixedFee"), fee::fromText(c.txtFixedFee->text()));
                break;
            case 142:
                row.setField(QStringLiteral("ChargingUnit"), columnText(c.txtChargingUnit));
                break;
            case 144:
                row.update();
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
            default:
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
}
