#pragma once
#include <QDate>
#include <cstdint>

namespace bench {

// Writes a large synthetic store into the current folder: `accounts` accounts, one
// transaction each in each of the 12 months before `today` (so about 12 each, chained back
// month by month), 40 % with a balance, 5 % layaways, 3 % marked for no interest.
void writeSyntheticStore(int32_t accounts, QDate today, uint32_t seed = 1);

} // namespace bench
