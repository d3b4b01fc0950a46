#include "interest/large_pages.h"

#include "common/env.h"

namespace interest {

void preferLargePages() { common::Env::current().preferLargePages(); }

} // namespace interest
