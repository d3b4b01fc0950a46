#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace interest {

// The month files a chain walk reads: whether one is there, its name on disk (for telling
// two spellings of one file apart) and a transaction of it.
class ChainFiles {
  public:
    virtual ~ChainFiles() = default;
    virtual bool exists(const std::string& file) = 0;
    virtual std::string resolved(const std::string& file) = 0;
    virtual std::string read(const std::string& file, int32_t record) = 0;
};

// The month files of the store's folder, each opened for the one read.
class FolderChainFiles : public ChainFiles {
  public:
    bool exists(const std::string& file) override;
    std::string resolved(const std::string& file) override;
    std::string read(const std::string& file, int32_t record) override;
};

// A walk over an account's transactions from the newest to the oldest: from the account's
// lasttxfile and lasttxrec, then each transaction's prevfile and prevrec. The walk ends at a
// record number below 1 (or beyond the 32-bit range), a name that is not a month code of this
// store (a path such as "../y", "cust", a NUL), a month file that is not there, a name the
// caller does not accept, and at a place it has already visited, so a chain that loops is
// walked once.
class TransactionChain {
  public:
    TransactionChain(ChainFiles& files, const std::string& account,
                     std::function<bool(const std::string& file)> accept = {});

    // Moves to the next transaction (the first call: the newest); false at the end. A read
    // that fails throws and leaves the walk where it was, so the call can be repeated.
    bool next();
    const std::string& transaction() const { return transaction_; }
    // Where the current transaction is: its month file ("1298.dat") and record number.
    const std::string& file() const { return file_; }
    int32_t record() const { return record_; }
    // The month file the next call reads.
    const std::string& nextFile() const { return nextFile_; }

  private:
    ChainFiles& files_;
    std::function<bool(const std::string&)> accept_;
    std::string nextFile_, file_, transaction_;
    int32_t nextRecord_ = 0, record_ = 0;
    bool ended_ = false;
    std::set<std::pair<std::string, int32_t>> seen_;
};

} // namespace interest
