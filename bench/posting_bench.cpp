// The posting run on synthetic stores of 1,000, 10,000 and 100,000 accounts, with the
// firstmon setting off and on, beside the I/O floor; prints a Markdown table.
#include "bench/child_run.h"
#include "bench/synthetic_store.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace bench;

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (const int rc = childMain(argc, argv); rc >= 0) return rc;
    std::vector<int> sizes{1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) {
            const int n = std::atoi(argv[i]);
            if (n < 1) {
                std::fprintf(stderr, "Usage: posting-bench [ACCOUNTS ...]\n");
                return 2;
            }
            sizes.push_back(n);
        }
    }
    QTemporaryDir tmp;
    const QDate today(2026, 12, 8);
    const std::string date = "12-8-26";
    std::printf("| accounts | firstmon | run s | accounts/s | peak MB | floor s | floor accounts/s | floor peak MB | "
                "run / floor |\n");
    std::printf("|---:|:---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int n : sizes) {
        const std::string store = tmp.path().toStdString() + "/store" + std::to_string(n);
        fs::create_directories(store);
        QDir::setCurrent(QString::fromStdString(store));
        writeSyntheticStore(n, today);
        for (bool firstmon : {false, true}) {
            double t[2] = {0, 0};
            long kb[2] = {0, 0};
            for (int k = 0; k < 2; ++k) {
                const std::string work = store + (k == 0 ? "-run" : "-floor");
                fs::remove_all(work);
                fs::copy(store, work, fs::copy_options::recursive);
                const int rc = runChild(k == 0 ? "post" : "floor", work.c_str(), date.c_str(), firstmon, &t[k], &kb[k]);
                if (rc != 0) {
                    std::fprintf(stderr, "run failed with %d\n", rc);
                    return 1;
                }
                fs::remove_all(work);
            }
            std::printf("| %d | %s | %.3f | %.0f | %.1f | %.3f | %.0f | %.1f | %.2f |\n", n, firstmon ? "on" : "off",
                        t[0], n / t[0], kb[0] / 1024.0, t[1], n / t[1], kb[1] / 1024.0, t[0] / t[1]);
            std::fflush(stdout);
        }
        fs::remove_all(store);
    }
    return 0;
}
