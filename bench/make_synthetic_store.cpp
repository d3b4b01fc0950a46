// Writes a synthetic store of N accounts into a folder, for profiling and the crash test.
#include "bench/synthetic_store.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

using namespace bench;

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "Usage: make-synthetic-store FOLDER ACCOUNTS\n");
        return 2;
    }
    if (!QDir().mkpath(QString::fromLocal8Bit(argv[1])) || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) return 1;
    writeSyntheticStore(std::atoi(argv[2]), QDate(2026, 12, 8));
    return 0;
}
