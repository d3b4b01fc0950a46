#pragma once
#include <QTemporaryDir>
#include <filesystem>

namespace bench {

// The folders of a crash or power-cut test: the synthetic store as written ("original"), a copy
// to post without interruption ("reference"), and where each stopped posting runs ("work").
struct TestStores {
    explicit TestStores(int accounts);
    QTemporaryDir tmp;
    std::filesystem::path original, reference, work;
};

} // namespace bench
