#pragma once
#include "platform/platform.h"

#include <optional>
#include <string>

namespace interest {

// Takes one customer's interest charges back: asks for the phone number, and when there is a
// last posting (`lastPosted`) whether only its charge or every one; offers each charge found,
// and tells what was removed. An account written with the phone's digits another way is offered
// when no account has it exactly.
void removeCharges(platform::Platform& p, const std::optional<std::string>& lastPosted);

} // namespace interest
