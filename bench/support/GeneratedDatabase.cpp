#include "GeneratedDatabase.h"

#include "Bench.h"

#include "core/db/Gateway.h"

#include <QSqlQuery>
#include <QStringList>

#include <random>

using bench::require;

namespace generated {

namespace {

// Names as hospital catalogues hold them: a generic name, a strength, a form.
struct Namer {
    std::mt19937 random{seed};
    const QStringList generics{"PARACETAMOL", "AMOXICILLIN", "CEFTRIAXONE", "METFORMIN",
                               "LOSARTAN",    "OMEPRAZOLE",  "SALBUTAMOL",  "KETOROLAC",
                               "IBUPROFEN",   "CEFUROXIME",  "AMLODIPINE",  "TRAMADOL",
                               "GAUZE",       "SYRINGE",     "CATHETER",    "GLOVES"};
    const QStringList forms{"TABLET", "CAPSULE", "AMPULE", "VIAL", "SYRUP", "PC", "BOX"};
    int pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    QString generic() { return generics[pick(generics.size())]; }
    QString form() { return forms[pick(forms.size())]; }
};

// The generic names, and 100,000 active inventory items.
void fillInventory(QSqlQuery& q, Namer& names) {
    require(q.prepare(QStringLiteral("INSERT INTO Inventory.tbForGeneric (GenericID, GenericName) "
                                     "VALUES (?, ?)")),
            q);
    for (int g = 0; g < names.generics.size(); ++g) {
        q.bindValue(0, 9000 + g);
        q.bindValue(1, names.generics[g]);
        q.exec(); // the sample has some of them already
    }
    require(q.prepare(QStringLiteral(
                "INSERT INTO Inventory.tbInvMaster (ItemID, ItemName, ItemDesc, GenericID, "
                "ListCost, itemstatus, UnitOfMeasure, ItemClass) VALUES (?, ?, ?, ?, ?, 0, ?, ?)")),
            q);
    for (int i = 1; i <= inventoryItems; ++i) {
        const int g = names.pick(names.generics.size());
        q.bindValue(0, 100000 + i);
        q.bindValue(1, QStringLiteral("%1 %2mg").arg(names.generics[g]).arg(names.pick(1000)));
        q.bindValue(2, names.form() + QStringLiteral(" NO. %1").arg(i));
        q.bindValue(3, 9000 + g);
        q.bindValue(4, names.pick(500000) / 100.0);
        q.bindValue(5, names.form());
        q.bindValue(6, g < 12 ? QStringLiteral("MED") : QStringLiteral("SUP"));
        require(q.exec(), q);
    }
}

// 5,000 active procedures in each of four exam tables.
void fillExams(QSqlQuery& q, Namer& names) {
    for (const QString& exam : {QStringLiteral("XRay"), QStringLiteral("Ultra"),
                                QStringLiteral("CT"), QStringLiteral("Lab")}) {
        require(q.prepare(QStringLiteral("INSERT INTO Build_FIle.tbco%1Exam (%1ExamID, %1Exam, "
                                         "Status, RegularRate) VALUES (?, ?, 'A', ?)")
                              .arg(exam)),
                q);
        for (int i = 1; i <= proceduresPerTable; ++i) {
            q.bindValue(0, 500000 + i);
            q.bindValue(1, QStringLiteral("%1 procedure %2").arg(exam).arg(i));
            q.bindValue(2, names.pick(10000));
            require(q.exec(), q);
        }
    }
}

// Links of the ER list: every second listed hospital item under PH, the rest spread.
void fillLinks(QSqlQuery& q, Namer& names) {
    require(q.prepare(QStringLiteral("INSERT INTO Build_FIle.ESOA_ER_LINK (Code, Category, "
                                     "Description, ItemID, ItemDesc, InvOrProc, RevenueID) "
                                     "VALUES (?, ?, ?, ?, ?, 'INV', ?)")),
            q);
    for (int i = 1; i <= links; ++i) {
        const int code = 1 + names.pick(erLines);
        q.bindValue(0, QStringLiteral("ERB%1").arg(100000 + code));
        q.bindValue(1, QStringLiteral("Category %1").arg(code % 40));
        q.bindValue(2, QStringLiteral("Procedure or item number %1").arg(code));
        q.bindValue(3, QString::number(100000 + (i <= listedItems / 2 ? 2 * i : i)));
        q.bindValue(4, QStringLiteral("ITEM %1").arg(i));
        q.bindValue(5,
                    i <= listedItems / 2 ? QStringLiteral("PH") : QStringLiteral("X%1").arg(i % 7));
        require(q.exec(), q);
    }
}

} // namespace

void fill(QSqlDatabase db) {
    Namer names;
    QSqlQuery q(db);
    require(db.transaction(), q);
    fillInventory(q, names);
    fillExams(q, names);
    fillLinks(q, names);
    require(db.commit(), q);
}

QByteArray erList() {
    Namer names;
    QByteArray text;
    for (int i = 1; i <= erLines; ++i)
        text += "ERB" + QByteArray::number(100000 + i) + "|Category " + QByteArray::number(i % 40) +
                "|Procedure or item number " + QByteArray::number(i) + " " +
                names.generic().toLatin1() + "|" + QByteArray::number(names.pick(5000)) +
                ".00|per unit\r\n";
    return text;
}

TextTable hospitalItems(Gateway& gw, int count) {
    return gw.query(QStringLiteral("SELECT TOP %1 ItemID, ItemName AS Description, 'GENERIC' AS "
                                   "GenericName, ListCost FROM Inventory..tbInvMaster WHERE ItemID "
                                   "> 100000 ORDER BY ItemID")
                        .arg(count));
}

} // namespace generated

std::vector<ErRecord> erRecords(const QByteArray& list) {
    std::vector<ErRecord> out;
    for (const QByteArray& line : list.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split('|');
        if (f.size() == 5)
            out.push_back({QString::fromLatin1(f[0]), QString::fromLatin1(f[1]),
                           QString::fromLatin1(f[2]), QString::fromLatin1(f[3]),
                           QString::fromLatin1(f[4])});
    }
    return out;
}
