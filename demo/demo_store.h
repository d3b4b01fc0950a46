#pragma once
#include <QDate>
#include <QImage>
#include <string>

namespace demo {

// Writes a demo store into the current folder, dated around `today`: about thirty charge
// accounts, the transaction files of the last four months with their pointers, the layout
// settings and the store's logo. Refuses (error 58) a folder that already holds a store.
void writeDemoStore(QDate today);

// The store logo, drawn for the demo: a banner with the store's name.
QImage demoLogo();

} // namespace demo
