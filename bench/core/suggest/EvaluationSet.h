#pragma once

#include "core/db/Gateway.h"

#include <QHash>
#include <QList>
#include <QString>

// The suggestions' evaluation set (eval/): hospital items as a pharmacy, a supply room and the
// departments write them, PhilHealth items as the national lists write them, the pairs that go
// together (some linked before the evaluation starts), and a drug register as the FDA's portal
// exports it.
namespace bench::eval {

struct HospitalRow {
    QString kind, id, name, desc, generic, table, section;
    // For a medicine: "generic" (it has a generic name), "dictionary" (its brand is in the
    // program's dictionary), "register" (its brand is only in the register), "nowhere".
    QString group;
    QString shown() const { return kind == u"INV" ? name + QStringLiteral(" - ") + desc : name; }
};

struct Pair {
    QString table, code, itemId;
    bool linked;
};

struct Reference {
    QString table, code, category, description;
    bool medicine() const {
        return category == u"DrugsAndMedicines" || category == u"Therapeutics";
    }
};

struct Set {
    QList<HospitalRow> hospital;
    QList<Reference> references;
    QList<Pair> pairs;
    QHash<QString, HospitalRow> byId; // by ItemID
    QHash<QString, Reference> byCode; // by "table|code"
    QByteArray registerFile;          // register.csv as the portal writes it
    int linked() const;
};

// Reads a set from the benchmark's resources: "eval", the set the engine is measured on, or
// "holdout", written apart from it and from the engine and never tuned on. Ends the benchmark
// when a file is missing.
Set read(const QString& folder = QStringLiteral("eval"));

// The set as a hospital database: the sample's tables and revenue catalogue, emptied and filled
// with the set; the pairs marked linked saved as links.
void fill(Gateway& db, const Set& set);

// Imports the set's register into the register table, as "Import drug register..." writes it;
// returns the products imported.
int importRegister(Gateway& db, const Set& set);

} // namespace bench::eval
