#pragma once
#include "common/env.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace interest {

// Lines of a report kept until they are printed: the accounts not charged (listed after the
// charges), the lines for a printer that needs the number of pages before the first. A few MB
// are held in memory; beyond that the lines go to a file of the store folder's own temporaries
// ("... .~new": a stop leaves it for the next start to remove), so that a store of a million
// accounts holds no more than one of a hundred thousand. The file goes with the spool.
class LineSpool {
  public:
    explicit LineSpool(std::string name = "Interest report lines") : name_(std::move(name)) {}
    ~LineSpool();
    LineSpool(const LineSpool&) = delete;
    LineSpool& operator=(const LineSpool&) = delete;

    // A line (bytes, no line end in them), with a mark of its kind.
    void add(std::string_view line, bool marked = false);
    bool empty() const { return lines_ == 0; }
    // Every line added, in order.
    void replay(const std::function<void(std::string_view, bool)>& each);
    // Nothing kept: the file, if any, removed.
    void clear();
    // Bytes held in memory before the lines go to a file (a test makes it small).
    void holdInMemory(size_t bytes) { inMemory_ = bytes; }

  private:
    void toFile();
    std::string name_, path_;
    std::unique_ptr<common::EnvFile> file_;
    std::string buffer_;
    int64_t written_ = 0;
    size_t lines_ = 0;
    size_t inMemory_ = 4u << 20;
};

} // namespace interest
