#include "Expected.h"

#include "core/history/HistoryStatements.h"
#include "core/maintenance/ListStatements.h"
#include "core/maintenance/TableStatements.h"
#include "core/register/RegisterStatements.h"
#include "core/review/ReviewStatements.h"
#include "core/tsql/Lexer.h"
#include "core/tsql/SqlText.h"
#include "core/tsql/SqliteDialect.h"

namespace diagnostics {

namespace {

using namespace tsql;

bool isTextType(const QString& type) {
    static const QStringList text = {"varchar", "nvarchar", "char", "nchar"};
    return text.contains(type);
}

// The length of a text type from its parameters: a number, or -1 for "max".
int lengthOf(const QString& type, const QString& params) {
    if (!isTextType(type))
        return 0;
    if (params.trimmed().compare(u"max", Qt::CaseInsensitive) == 0)
        return -1;
    bool numeric = false;
    const int n = params.trimmed().toInt(&numeric);
    return numeric ? n : 0;
}

// One part of a CREATE TABLE's list, tokens [from, to): a column, or nothing for a constraint.
std::optional<ExpectedColumn> columnOf(const Tokens& t, qsizetype from, qsizetype to) {
    const Tokens part = t.mid(from, to - from);
    const qsizetype name = nextSig(part, -1);
    if (name >= part.size() || !isName(part[name]))
        return std::nullopt;
    static const QStringList constraints = {"CONSTRAINT", "PRIMARY", "UNIQUE",
                                            "CHECK",      "FOREIGN", "INDEX"};
    if (part[name].kind == TokenKind::Word &&
        constraints.contains(part[name].text, Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype type = nextSig(part, name);
    if (type >= part.size() || !isName(part[type]))
        return std::nullopt;
    ExpectedColumn column;
    column.name = bare(part[name]);
    column.type = bare(part[type]).toLower();
    qsizetype rest = nextSig(part, type);
    if (rest < part.size() && isPunct(part[rest], u"(")) {
        const qsizetype close = matching(part, rest);
        column.length = lengthOf(column.type, joined(part, rest + 1, close));
        rest = close + 1;
    }
    for (qsizetype k = rest; k < part.size(); k = nextSig(part, k))
        if (is(part[k], u"NOT")) {
            const qsizetype next = nextSig(part, k);
            if (next < part.size() && is(part[next], u"NULL"))
                column.nullable = false;
        }
    return column;
}

ExpectedTable tableFrom(const QString& name, const QString& create, const QStringList& indexes,
                        Dialect dialect, const QString& whenMissing) {
    ExpectedTable table;
    table.name = name;
    table.whenMissing = whenMissing;
    table.columns = columnsOf(dialect == Dialect::Sqlite ? toSqlite(create) : create);
    for (const QString& statement : indexes)
        if (const auto index = indexOf(statement);
            index && index->first.compare(name, Qt::CaseInsensitive) == 0)
            table.indexes << index->second;
    return table;
}

} // namespace

QString typeText(const QString& type, int length) {
    if (length == 0)
        return type;
    return type + u'(' + (length < 0 ? QStringLiteral("max") : QString::number(length)) + u')';
}

ExpectedColumn columnOfType(const QString& name, const QString& declaredType, bool nullable) {
    const Tokens t = tokenize(declaredType);
    ExpectedColumn column;
    column.name = name;
    column.nullable = nullable;
    const qsizetype type = nextSig(t, -1);
    if (type >= t.size())
        return column;
    column.type = bare(t[type]).toLower();
    const qsizetype open = nextSig(t, type);
    if (open < t.size() && isPunct(t[open], u"("))
        column.length = lengthOf(column.type, joined(t, open + 1, matching(t, open)));
    return column;
}

QList<ExpectedColumn> columnsOf(const QString& createTable) {
    const Tokens t = tokenize(createTable);
    qsizetype open = 0;
    while (open < t.size() && !isPunct(t[open], u"("))
        ++open;
    const qsizetype close = open < t.size() ? matching(t, open) : t.size();
    QList<ExpectedColumn> columns;
    if (close >= t.size())
        return columns;
    for (const auto& [from, to] : listParts(t, open, close))
        if (const auto column = columnOf(t, from, to))
            columns << *column;
    return columns;
}

std::optional<std::pair<QString, ExpectedIndex>> indexOf(const QString& createIndex) {
    const Tokens t = tokenize(createIndex);
    qsizetype index = 0;
    ExpectedIndex out;
    for (; index < t.size() && !is(t[index], u"INDEX"); ++index)
        if (is(t[index], u"CLUSTERED"))
            out.clustered = true;
    const qsizetype name = nextSig(t, index);
    const qsizetype on = nextSig(t, name);
    if (on >= t.size() || !is(t[on], u"ON"))
        return std::nullopt;
    out.name = bare(t[name]);
    qsizetype open = on;
    QString table;
    for (; open < t.size() && !isPunct(t[open], u"("); ++open)
        if (isName(t[open]) && open != on)
            table = bare(t[open]);
    if (open >= t.size())
        return std::nullopt;
    for (const auto& [from, to] : listParts(t, open, matching(t, open))) {
        const qsizetype column = nextSig(t, from - 1);
        if (column < to && isName(t[column]))
            out.columns << bare(t[column]);
    }
    return std::make_pair(table, out);
}

QList<ExpectedTable> expectedTables(Dialect dialect) {
    QList<ExpectedTable> out;
    for (const QString& reference : {QStringLiteral("ESOA_ITEM"), QStringLiteral("ESOA_ER")}) {
        const QStringList statements =
            tables::referenceTableStatements(reference) + tables::codeIndexStatements(reference);
        out << tableFrom(reference, statements[tables::createReferenceTable], statements, dialect,
                         QString());
        out << tableFrom(reference + QStringLiteral("_LINK"), statements[tables::createLinkTable],
                         statements, dialect, QString());
    }
    const QStringList historyStatements = history::createStatements();
    out << tableFrom(QLatin1String(history::tableName), historyStatements.first(),
                     historyStatements, dialect,
                     QStringLiteral("the first save makes it where the login may create tables; "
                                    "until then links are saved without their history"));
    out.last().addedWhenMissing.insert(
        QStringLiteral("How"),
        QStringLiteral("the first save of a run adds it where the login may alter the table; "
                       "until then the history does not say what made each change"));
    const QStringList registerStatements = drugregister::createStatements();
    out << tableFrom(QLatin1String(drugregister::tableName), registerStatements.first(),
                     registerStatements, dialect,
                     QStringLiteral("the first \"Import drug register...\" makes it; until then "
                                    "the suggestions read no register"));
    const QStringList listStatements = listupdate::createStatements();
    for (const char* name :
         {listupdate::versionTable, listupdate::retiredTable, listupdate::changeTable})
        for (const QString& statement : listStatements)
            if (statement.startsWith(QStringLiteral("CREATE TABLE ") +
                                     sql::buildFileTable(QLatin1String(name))))
                out << tableFrom(QLatin1String(name), statement, listStatements, dialect,
                                 QStringLiteral("the first \"c. Update from new list...\" Apply "
                                                "makes it; until then no edition is on record"));
    const QStringList reviewStatements = review::createStatements();
    out << tableFrom(QLatin1String(review::tableName), reviewStatements.first(), reviewStatements,
                     dialect,
                     QStringLiteral("the first \"Review links...\" makes it; until then every "
                                    "link is \"to review\""));
    return out;
}

} // namespace diagnostics
