#pragma once
#include "common/env.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace interest {

// The lines of a report kept in a file while the report is made, for a printer that needs the
// number of pages before the first: a long report holds its lines on the disk, not in memory.
// The file is the store folder's own temporary ("... .~new": a stop leaves it for the next start
// to remove) and goes when the spool does.
class LineSpool {
  public:
    LineSpool() = default;
    ~LineSpool();
    LineSpool(const LineSpool&) = delete;
    LineSpool& operator=(const LineSpool&) = delete;

    // A line, or the column headings from here on.
    void add(const QString& text, bool columns);
    // Every line added, in order.
    void replay(const std::function<void(const QString&, bool)>& each);
    // Nothing kept: the file removed.
    void clear();

  private:
    void flush();
    std::string path_;
    std::unique_ptr<common::EnvFile> file_;
    std::string buffer_;
    int64_t written_ = 0;
};

} // namespace interest
