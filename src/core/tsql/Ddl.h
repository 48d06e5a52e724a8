#pragma once

#include "core/tsql/Lexer.h"

// The table and index definitions of the program's T-SQL in SQLite's terms.
namespace tsql {

// CLUSTERED and NONCLUSTERED mean nothing to SQLite: drops them, with one of the blanks around.
void dropClustered(Tokens& t);

// A CREATE TABLE maps its column types (identity, money, text compared without regard to case,
// SQL Server's ranges) and drops a trailing comma and its storage clauses; a CREATE
// [UNIQUE] [NON]CLUSTERED INDEX gets an index name of its table's own. Other statements are left
// as they are.
void rewriteCreate(Tokens& t);

} // namespace tsql
