#include "EvaluationSet.h"

#include "core/register/RegisterFile.h"
#include "core/register/RegisterWrite.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace bench::eval {

namespace {

QByteArray resource(const QString& folder, const QString& name) {
    QFile file(QStringLiteral(":/") + folder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench: the evaluation file %s cannot be read\n", qPrintable(name));
        std::exit(2);
    }
    return file.readAll();
}

// The rows of a '|'-separated file, its header left out.
QList<QStringList> rows(const QString& folder, const QString& name) {
    QList<QStringList> out;
    const QStringList lines =
        QString::fromUtf8(resource(folder, name)).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        out << lines[i].split(u'|');
    return out;
}

QString revenueOf(const HospitalRow& h) {
    static const QHash<QString, QString> byTable = {{"tbcoLabExam", "LB"},
                                                    {"tbcoXRayExam", "XR"},
                                                    {"tbcoUltraExam", "US"},
                                                    {"tbcoCTExam", "CT"}};
    if (h.kind == u"INV")
        return QStringLiteral("PH");
    return byTable.value(h.table, h.section);
}

} // namespace

int Set::linked() const {
    int n = 0;
    for (const Pair& p : pairs)
        n += p.linked;
    return n;
}

Set read(const QString& folder) {
    Set set;
    for (const QStringList& f : rows(folder, QStringLiteral("hospital.txt")))
        set.hospital << HospitalRow{f.value(0), f.value(1), f.value(2), f.value(3),
                                    f.value(4), f.value(5), f.value(6), f.value(7)};
    for (const QStringList& f : rows(folder, QStringLiteral("reference.txt")))
        set.references << Reference{f.value(0), f.value(1), f.value(2), f.value(3)};
    for (const QStringList& f : rows(folder, QStringLiteral("pairs.txt")))
        set.pairs << Pair{f.value(0), f.value(1), f.value(2), f.value(3) == u"1"};
    for (const HospitalRow& h : set.hospital)
        set.byId.insert(h.id, h);
    for (const Reference& r : set.references)
        set.byCode.insert(r.table + u'|' + r.code, r);
    set.registerFile = resource(folder, QStringLiteral("register.csv"));
    return set;
}

void fill(Gateway& db, const Set& set) {
    for (const char* table :
         {"Inventory..tbInvMaster", "Inventory..tbForGeneric", "Build_FIle..tbcoLabExam",
          "Build_FIle..tbcoXRayExam", "Build_FIle..tbcoUltraExam", "Build_FIle..tbcoCTExam",
          "Build_FIle..tbcoOtherRevenue", "Build_FIle..ESOA_ITEM", "Build_FIle..ESOA_ER",
          "Build_FIle..ESOA_ITEM_LINK", "Build_FIle..ESOA_ER_LINK"})
        db.execute(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    QHash<QString, int> generics;
    for (const HospitalRow& h : set.hospital) {
        if (h.kind == u"INV") {
            QVariant generic;
            if (!h.generic.isEmpty()) {
                auto it = generics.find(h.generic);
                if (it == generics.end()) {
                    it = generics.insert(h.generic, 1 + int(generics.size()));
                    db.insertRow(QStringLiteral("Inventory..tbForGeneric"),
                                 {QStringLiteral("GenericID"), QStringLiteral("GenericName")},
                                 {*it, h.generic});
                }
                generic = *it;
            }
            db.insertRow(QStringLiteral("Inventory..tbInvMaster"),
                         {"ItemID", "ItemName", "ItemDesc", "GenericID", "itemstatus"},
                         {h.id, h.name, h.desc, generic, 0});
        } else {
            const QString field = h.table.mid(4);
            QStringList columns{field + QStringLiteral("ID"), field, QStringLiteral("Status")};
            QList<QVariant> values{h.id, h.name, QStringLiteral("A")};
            if (h.table == u"tbcoOtherRevenue") {
                columns << QStringLiteral("OtherSectionID");
                values << h.section;
            }
            db.insertRow(QStringLiteral("Build_FIle..") + h.table, columns, values);
        }
    }
    for (const Reference& r : set.references)
        db.insertRow(QStringLiteral("Build_FIle..") + r.table, {"Code", "Category", "Description"},
                     {r.code, r.category, r.description});
    for (const Pair& p : set.pairs) {
        if (!p.linked)
            continue;
        const HospitalRow& h = set.byId[p.itemId];
        const Reference& r = set.byCode[p.table + u'|' + p.code];
        db.insertRow(
            QStringLiteral("Build_FIle..") + p.table + QStringLiteral("_LINK"),
            {"ItemID", "RevenueID", "ItemDesc", "InvOrProc", "CODE", "SectionID", "Category",
             "Description"},
            {h.id, revenueOf(h), h.shown(), h.kind, r.code, h.section, r.category, r.description});
    }
}

int importRegister(Gateway& db, const Set& set) {
    const drugregister::Register read = drugregister::readRegister(set.registerFile);
    if (read.outcome != drugregister::Register::Outcome::Read) {
        std::fprintf(stderr, "bench: the evaluation set's register cannot be read\n");
        std::exit(2);
    }
    drugregister::replaceRegister(db, read.products);
    return int(read.products.size());
}

} // namespace bench::eval
