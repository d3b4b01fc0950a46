#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace interest {

// The month files a chain walk reads: a number for a file that is there (the same for every
// spelling of its name, for telling two spellings of one file apart) and a transaction of it.
class ChainFiles {
  public:
    virtual ~ChainFiles() = default;
    // -1 when there is no such file.
    virtual int identity(const std::string& file) = 0;
    // The bytes stay valid until the next read.
    virtual std::string_view read(const std::string& file, int32_t record) = 0;
};

// The month files of the store's folder, each opened for the one read.
class FolderChainFiles : public ChainFiles {
  public:
    int identity(const std::string& file) override;
    std::string_view read(const std::string& file, int32_t record) override;

  private:
    std::map<std::string, int> ids_; // by name on disk
    std::string record_;
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
    // The bytes stay valid until the next call of next() or the next read of the files.
    std::string_view transaction() const { return transaction_; }
    // Where the current transaction is: its month file ("1298.dat") and record number.
    const std::string& file() const { return file_; }
    int32_t record() const { return record_; }
    // The month file the next call reads.
    const std::string& nextFile() const { return nextFile_; }
    // The current transaction's prevrec as a number; none when it is beyond any number.
    std::optional<double> prevrecValue() const { return prevValue_; }

  private:
    ChainFiles& files_;
    bool visited(uint64_t place) const;
    void visit(uint64_t place);

    std::function<bool(const std::string&)> accept_;
    std::string nextFile_, file_;
    std::string_view transaction_;
    int32_t nextRecord_ = 0, record_ = 0;
    std::optional<double> prevValue_;
    bool ended_ = false;
    // The places visited (file number and record): a short chain in a list, a long one in a set.
    std::vector<uint64_t> seen_;
    std::unordered_set<uint64_t> seenMany_;
};

} // namespace interest
