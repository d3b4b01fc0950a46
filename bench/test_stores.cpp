#include "bench/test_stores.h"

#include "bench/synthetic_store.h"

#include <QDate>
#include <QDir>

namespace bench {

namespace fs = std::filesystem;

TestStores::TestStores(int accounts) {
    const fs::path root = tmp.path().toStdString();
    original = root / "original";
    reference = root / "reference";
    work = root / "work";
    fs::create_directories(original);
    QDir::setCurrent(QString::fromStdString(original.string()));
    writeSyntheticStore(accounts, QDate(2026, 12, 8));
    fs::copy(original, reference, fs::copy_options::recursive);
}

} // namespace bench
