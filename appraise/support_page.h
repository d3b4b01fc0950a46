#pragma once

namespace appraise {

// Where the store finds help and a default alignment file.
inline constexpr const char* supportPage = "https://www.velmaron.com/support";

} // namespace appraise
