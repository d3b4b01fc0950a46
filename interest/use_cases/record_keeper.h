#pragma once
#include "interest/interest_removal.h"
#include "interest/posting_record.h"
#include "platform/platform.h"

#include <QString>
#include <string>
#include <vector>

namespace interest {

// The record's line of a charge removed: `posting` the posting it was asked for (empty: every
// charge), `note` why it was removed.
RecordLine removalRecord(const RemovedCharge& c, const std::string& posting, const std::string& note);

// Enters the lines of a removal in the record one by one, as each charge is removed; what could
// not be entered is kept, for the end of the removal to tell.
class RecordKeeper {
  public:
    // `what` names the lines in words ("These removals").
    RecordKeeper(platform::Platform& p, QString what);
    void add(const RecordLine& line);
    // For the end of the removal: where the lines are, or the lines that could not be entered
    // (a paragraph to add to the box that tells the result); empty when there were none.
    QString told() const;

  private:
    platform::Platform& p_;
    QString what_;
    int recorded_ = 0;
    QString trouble_;
    std::vector<RecordLine> failed_;
};

} // namespace interest
