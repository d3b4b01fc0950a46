#pragma once
#include <QColor>
#include <QIcon>
#include <QString>
#include <string>
#include <vector>

namespace platform {

// The files that make a folder a store's: the accounts ("cust.dat") and their count ("Cust.ptn").
// Those the current folder lacks, in words ("cust.dat and Cust.ptn"); empty for a store's folder.
QString missingStoreFiles();

// A program started without a folder, in a folder that is not a store's: the store's folder
// remembered from the last time, or else the user is asked for it (and it is remembered). A
// folder that is not a store's is refused in words, and the user may choose again. Returns false
// when the user gives up.
bool settleStoreFolder(const QString& program);

// The programs' window icon: a coloured disc with the program's letter.
QIcon programIcon(QChar letter, const QColor& colour);

} // namespace platform
