#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The T-SQL of the FDA's register of drug products: the table ESOA_DRUG_REGISTER in Build_FIle,
// one row per registered product as the FDA's export lists it, with when and by whom it was
// imported. An import replaces the whole register; every workstation on the server reads the same
// rows. On the embedded database these run through the rewriter like every other statement.
namespace drugregister {

inline constexpr char tableName[] = "ESOA_DRUG_REGISTER";

// The lengths of the table's text columns. A field of the file longer than its column is cut to
// that length before it is written: SQL Server would refuse the row (and the embedded database's
// check refuses it too), and a register that loses the end of an overlong name is better than one
// that cannot be imported.
inline constexpr int registrationNumberLength = 50;
inline constexpr int genericNameLength = 1000;
inline constexpr int brandNameLength = 250;
inline constexpr int dosageStrengthLength = 250;
inline constexpr int dosageFormLength = 250;

// The table, its clustered index by ID and its index by brand name. Each is run on its own, and
// one that fails (the table or index is there already) is skipped: nothing here drops or empties
// the table.
QStringList createStatements();

// Reads nothing but fails when the table is missing or cannot be read.
QString probeStatement();

// Empties the register, in the import's transaction.
QString deleteStatement();

// Adds `rows` products in one statement: five ? parameters a row (RegistrationNumber,
// GenericName, BrandName, DosageStrength, DosageForm), the time and login from the server.
QString insertStatement(int rows);

// Products go in statements of this many rows, and the last ones (fewer than that) one by one:
// two statement shapes whatever the number of products, 500 parameters at most (SQL Server takes
// 2,100 and 1,000 rows a statement).
inline constexpr int rowsPerStatement = 100;
// The rows of each INSERT that adds `products` products, in order.
QList<int> statementRows(int products);

} // namespace drugregister
