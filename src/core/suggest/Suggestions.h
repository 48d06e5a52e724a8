#pragma once

#include "core/db/Gateway.h"
#include "core/suggest/Ranker.h"
#include "core/suggest/Why.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace suggest {

// A hospital item that may be linked: an active inventory item, or an active row of an exam table
// the revenue catalogue names, with the routing a click on that table's row in the revenue list
// gives.
struct HospitalItem {
    QString itemId;
    QString item;    // as the hospital list shows it: "name - description", or the exam's name
    QString generic; // the generic name of an inventory item
    QString revenueId;
    QString sectionId;
    // For a procedure: its exam table as the catalogue names it ("tbcoLabExam"), and the table's
    // ID, name and section columns. Empty for an inventory item.
    QString examTable, idField, nameField, sectionField;
    bool inventory() const { return examTable.isEmpty(); }
};

// A PhilHealth item of a reference table, its texts as the reference list shows them.
struct ReferenceItem {
    QString code, category, description, fixedFee, chargingUnit;
};

// Where the current category routes a procedure search: the exam table ("tbcoLabExam") and the
// section, for the preference between two candidates that read alike.
struct Routed {
    QString examTable;
    QString sectionId;
};

struct HospitalSuggestion {
    int score = 0; // 0 to 100; 100: already linked to this code
    HospitalItem item;
    QString why; // what made the score, in a few words
};

struct CodeProposal {
    int score = 0;
    ReferenceItem item;
    QString why;
};

// A hospital item of a list, for which PhilHealth codes are proposed: its id, its text as the
// list shows it, and its generic name when the list has one.
struct ListedItem {
    QString itemId, item, generic;
};

// The suggestions of the mapping screen: it reads the hospital items, the reference items and the
// links with plain SELECTs and ranks in the program. What it read is kept until its source changes:
// a use asks each source for its count, highest key and text length, at most once in the recheck
// interval (other workstations' changes count from then on), and this workstation's own changes
// of the links count at once (linksChanged). Every failure of the database raises DbError with its
// text.
class Suggestions {
public:
    Suggestions();
    ~Suggestions();

    // Up to `limit` hospital items for a PhilHealth item of `referenceTable`, best first:
    // inventory items, or procedures of every exam table the catalogue names.
    QList<HospitalSuggestion> hospitalItemsFor(Gateway& db, const QString& referenceTable,
                                               const QString& code, const QString& description,
                                               bool inventory, const Routed& routed, int limit);

    // The best five codes of `referenceTable` for each listed hospital item, within `category`
    // (all categories when it is empty; "-" is the empty category), best first.
    QList<QList<CodeProposal>> codesFor(Gateway& db, const QString& referenceTable,
                                        const QString& category, const QList<ListedItem>& items,
                                        int perItem = 5);

    // The code a hospital item is linked to in a link table, empty when none.
    static QString linkedCode(Gateway& db, const QString& referenceTable, const QString& revenueId,
                              const QString& itemId);

    // How long what was read is used without asking its source again, in ms (10 s by default).
    void setRecheckInterval(int ms) { m_recheckMs = ms; }

    // The links changed (a save, a delete, an undo): the next use reads them again.
    void linksChanged();
    // Reads every source again at its next use; the hospital items only.
    void forget();
    void forgetHospitalItems();
    // The drug register was imported here: it and the inventory read through it are read
    // again at the next use.
    void registerChanged();

    // The statements the suggestions send, for the statement file's check.
    static QString inventoryStatement();
    static QString examStatement(const HospitalItem& table);
    static QString referenceStatement(const QString& referenceTable);
    static QString linkStatement(const QString& referenceTable);
    static QString registerStatement();

    struct Source;

private:
    bool fresh(const QElapsedTimer& checked) const;
    Source& hospitalSource(Gateway& db, bool inventory);
    Source& referenceSource(Gateway& db, const QString& referenceTable);
    const Learning& learning(Gateway& db);
    struct Links;
    Links& links(Gateway& db, const QString& referenceTable);
    struct Register;
    // The drug register's brands; an empty register where the table is missing.
    Register& brandRegister(Gateway& db);
    // What says what an item of the hospital's words stand for, for the explanation of a score.
    HospitalWording wordingOf(const Source& source, int item) const;

    std::unique_ptr<Source> m_inventory, m_procedures;
    QHash<QString, std::shared_ptr<Source>> m_references;
    QHash<QString, std::shared_ptr<Links>> m_links;
    std::shared_ptr<Register> m_register;
    Learning m_learning;
    QString m_learnedFrom;
    int m_recheckMs = 10000;
};

// A score from 0 to 100 as the lists show it.
int percent(double score);

} // namespace suggest
