#pragma once

#include <QString>

// The sample data of the embedded default, written for this program: the hospital tables a
// mapping screen reads (revenues, revenue codes, exam tables, inventory master and generics),
// the two reference tables created and imported from the sample import files, and a few links.
namespace sample {

// Creates the embedded database in an empty data folder. It is built in a folder of its own
// inside and moved into place when complete, so an interrupted first start leaves no half-made
// database behind. Raises DbError when it cannot.
void create(const QString& folder);

// The sample import files ("ESOA_ITEM.csv" and the others) among the program's resources.
QString importFilePath(const QString& name);

} // namespace sample
