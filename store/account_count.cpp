#include "store/account_count.h"

#include "common/basic_number.h"
#include "common/text_file.h"

namespace store {

using namespace common;

int32_t readAccountCount() { return clng(val(TextReader(accountCountFile).readField())); }

void writeAccountCount(int32_t accounts) { writeLines(accountCountFile, {str(static_cast<double>(accounts))}); }

} // namespace store
