#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class Gateway;

// The new codes of an import, written a hundred rows to a statement inside the import's batch
// rather than one INSERT a line. Each statement adds only the rows whose code no row of the table
// holds yet, read under UPDLOCK and HOLDLOCK in the statement itself, so a code another
// workstation added meanwhile is kept as it is, as it always was.
class ReferenceAdds {
public:
    static constexpr int rowsPerStatement = 100;
    using Failed = std::function<void(const QString& description)>;

    // Rows of `table` (as the import names it: "ESOA_ER") with these columns, the code first.
    // A row the database refuses is reported to `failed` with the database's text.
    ReferenceAdds(Gateway& gateway, QString table, QStringList columns, Failed failed);
    // Whatever still waits is written.
    ~ReferenceAdds();
    ReferenceAdds(const ReferenceAdds&) = delete;
    ReferenceAdds& operator=(const ReferenceAdds&) = delete;

    // Whether a row of a code that may equal this one waits (equal as the databases compare
    // codes: without regard to case or trailing blanks). The import writes what waits before it
    // looks such a code up, so that the database decides, as for every other code.
    bool mayHold(const QString& code) const;
    // Queues a new code's row, its values in the order of the columns. A statement's worth is
    // written at once.
    void add(QList<QVariant> values);
    // Writes what waits: a hundred rows to a statement, the rest a row to a statement. Rows of a
    // statement the database refuses are written again one by one, so that each row it refuses
    // is reported on its own and the others are added.
    void flush();

    // The statement that adds `rows` rows:
    //   INSERT INTO [Build_FIle].[dbo].T ([Code], ...) SELECT [Code], ... FROM (SELECT ? AS
    //   [Code], ... UNION ALL SELECT ?, ... ) AS [adds] WHERE NOT EXISTS (SELECT 1 FROM
    //   [Build_FIle].[dbo].T AS [known] WITH (UPDLOCK, HOLDLOCK) WHERE [known].[Code] =
    //   [adds].[Code])
    static QString statement(const QString& table, const QStringList& columns, int rows);

private:
    void write(int first, int count);

    Gateway& m_gateway;
    QString m_table;
    QStringList m_columns;
    Failed m_failed;
    QList<QList<QVariant>> m_rows;
    QSet<QString> m_codes;
    QString m_whole, m_single;
};
