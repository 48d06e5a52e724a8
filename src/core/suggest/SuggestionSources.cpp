// The reads of the suggestions' sources (the reference tables, the links and what they teach), each
// kept until its source changes, and the helpers the reads share.
#include "SuggestionSources.h"

#include "core/db/DbError.h"
#include "core/register/RegisterStatements.h"
#include "core/suggest/Parallel.h"
#include "core/tsql/SqlText.h"

#include <algorithm>
#include <thread>

namespace suggest {

namespace detail {

// A name the catalogue gives that may stand in a statement: letters, digits and "_" only.
bool plainName(const QString& name) {
    if (name.isEmpty() || name.size() > 128)
        return false;
    for (QChar ch : name)
        if (!(ch.isLetterOrNumber() && ch.unicode() < 128) && ch != u'_')
            return false;
    return true;
}

void requirePlainName(const QString& name) {
    if (!plainName(name))
        throw DbError(QStringLiteral("The name %1 cannot stand in a statement.").arg(name));
}

QString linkTableOf(const QString& referenceTable) {
    return sql::buildFileTable(referenceTable + QStringLiteral("_LINK"));
}

// A source's count, highest key and text length, as one text: another text means the source
// changed.
QString signature(Gateway& db, const QString& sql) {
    const ValueTable t = db.select(sql);
    QStringList parts;
    for (const QList<QVariant>& row : t.rows)
        for (const QVariant& v : row)
            parts << v.toString();
    return parts.join(u'|');
}

QString signatureStatement(const QString& table, const QString& key, const QString& text,
                           const QString& condition) {
    return QStringLiteral("SELECT COUNT(*) AS Items, MAX(") + key +
           QStringLiteral(") AS Last, SUM(LEN(") + text + QStringLiteral(")) AS Letters FROM ") +
           table + QStringLiteral(" WITH (NOLOCK)") + condition;
}

// The way SQL Server compares a category: without regard to case or trailing blanks.
QString categoryKey(const QString& category) {
    QString key = category;
    while (key.endsWith(u' '))
        key.chop(1);
    return key.toUpper();
}

// Analyses many wordings, on as many threads as the processor runs at once.
std::vector<ItemText> analyseAll(const QStringList& wordings) {
    std::vector<ItemText> texts(static_cast<size_t>(wordings.size()));
    forEachInParallel(texts.size(),
                      [&](size_t i) { texts[i].text = analyse(wordings[qsizetype(i)]); });
    return texts;
}

QString revenueCatalogueStatement() {
    return QStringLiteral("SELECT [RevenueID],[ExamTableName],[IDFieldName],[ExamFieldName],"
                          "[SectionIDFieldName] FROM ") +
           sql::buildFileTable(QStringLiteral("tbRevenues")) +
           QStringLiteral(" WITH (NOLOCK) WHERE [ExamTableName] <> ''");
}

} // namespace detail

using namespace detail;

bool Suggestions::fresh(const QElapsedTimer& checked) const {
    return checked.isValid() && checked.elapsed() < m_recheckMs;
}

Suggestions::Source& Suggestions::referenceSource(Gateway& db, const QString& referenceTable) {
    requirePlainName(referenceTable);
    const QString table = sql::buildFileTable(referenceTable);
    std::shared_ptr<Source>& source = m_references[referenceTable.toUpper()];
    if (source && fresh(source->checked))
        return *source;
    const QString sig = signature(
        db, signatureStatement(table, QStringLiteral("ID"), QStringLiteral("Description"), {}));
    if (source && source->signature == sig) {
        source->checked.start();
        return *source;
    }
    auto built = std::make_shared<Source>();
    built->checked.start();
    built->signature = sig;
    const TextTable rows = db.query(referenceStatement(referenceTable));
    QStringList descriptions;
    for (const QStringList& row : rows.rows) {
        ReferenceItem item{row.value(0), row.value(1), row.value(2), row.value(3), row.value(4)};
        descriptions << item.description;
        built->byCode.insert(item.code.trimmed().toUpper(), int(built->reference.size()));
        built->reference.push_back(std::move(item));
    }
    const std::vector<ItemText> texts = analyseAll(descriptions);
    built->ranker = Ranker(Ranker::Side::Reference);
    built->ranker.build(texts);
    source = std::move(built);
    return *source;
}

Suggestions::Links& Suggestions::links(Gateway& db, const QString& referenceTable) {
    requirePlainName(referenceTable);
    std::shared_ptr<Links>& links = m_links[referenceTable.toUpper()];
    if (!links)
        links = std::make_shared<Links>();
    if (fresh(links->checked))
        return *links;
    // A reference table without its link table yet has no links.
    QString sig;
    try {
        sig = signature(db, signatureStatement(linkTableOf(referenceTable), QStringLiteral("ID"),
                                               QStringLiteral("Code"), {}));
    } catch (const DbError&) {
        *links = Links();
        links->checked.start();
        return *links;
    }
    if (links->signature == sig && !sig.isEmpty()) {
        links->checked.start();
        return *links;
    }
    Links built;
    built.signature = sig;
    built.checked.start();
    const ValueTable rows = db.select(linkStatement(referenceTable));
    for (const QList<QVariant>& row : rows.rows) {
        Links::Link link{row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
                         row.value(4).toString()};
        built.byCode[link.code.trimmed().toUpper()].append(static_cast<int>(built.rows.size()));
        built.rows.append(link);
    }
    *links = std::move(built);
    return *links;
}

const Learning& Suggestions::learning(Gateway& db) {
    // Both link tables teach.
    const QStringList tables = {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")};
    QString from;
    for (const QString& t : tables)
        from += links(db, t).signature + u';';
    if (from == m_learnedFrom)
        return m_learning;
    m_learning.clear();
    for (const QString& t : tables) {
        if (links(db, t).signature.isEmpty())
            continue; // no link table yet
        const ValueTable rows = db.select(linkStatement(t));
        for (const QList<QVariant>& row : rows.rows)
            m_learning.add({analyseItem(row.value(3).toString()), Analysis()},
                           analyse(row.value(5).toString()));
    }
    m_learnedFrom = from;
    return m_learning;
}

QString Suggestions::registerStatement() {
    return QStringLiteral("SELECT BrandName, GenericName, DosageStrength, DosageForm FROM ") +
           sql::buildFileTable(QLatin1String(drugregister::tableName)) +
           QStringLiteral(" WITH (NOLOCK) WHERE BrandName <> ''");
}

Suggestions::Register& Suggestions::brandRegister(Gateway& db) {
    if (!m_register)
        m_register = std::make_shared<Register>();
    Register& reg = *m_register;
    if (fresh(reg.checked))
        return reg;
    // A database without the register's table has no register.
    QString sig;
    try {
        sig = signature(
            db, signatureStatement(sql::buildFileTable(QLatin1String(drugregister::tableName)),
                                   QStringLiteral("ID"), QStringLiteral("BrandName"), {}));
    } catch (const DbError&) {
        reg = Register();
        reg.checked.start();
        return reg;
    }
    if (reg.signature == sig && !sig.isEmpty()) {
        reg.checked.start();
        return reg;
    }
    std::vector<RegisteredProduct> products;
    {
        const ValueTable rows = db.select(registerStatement());
        products.reserve(size_t(rows.rows.size()));
        for (const QList<QVariant>& row : rows.rows)
            products.push_back({row.value(0).toString(), row.value(1).toString(),
                                row.value(2).toString(), row.value(3).toString()});
    }
    reg.brands.build(products);
    reg.signature = sig;
    reg.checked.start();
    return reg;
}

void Suggestions::registerChanged() {
    m_register.reset();
    m_inventory.reset();
}

void Suggestions::linksChanged() {
    m_links.clear();
    m_learnedFrom.clear();
}

void Suggestions::forgetHospitalItems() {
    m_inventory.reset();
    m_procedures.reset();
}

void Suggestions::forget() {
    forgetHospitalItems();
    m_register.reset();
    m_references.clear();
    linksChanged();
}

} // namespace suggest
