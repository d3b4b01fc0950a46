#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace appraise {

// The files of the template passages, the one place that names them.
inline constexpr const char* typeLineFile = "type.app";
inline constexpr const char* openingFile = "opening.app";
inline constexpr const char* valueLineFile = "replacev.app";
inline constexpr const char* signatureFile = "sigblock.app";
inline constexpr const char* closingFile = "closing.app";
// What the appraisal is for, its type of value and its dates; composed only once the store has it.
inline constexpr const char* purposeFile = "purpose.app";
// What an appraisal may be for, one a line: "Estate; fair market value".
inline constexpr const char* purposesFile = "purposes.app";

// A template passage: its menu entry, its file and the text shown while it has no file.
struct Insert {
    const char* entry;
    const char* file;
    const char* defaultText;
};

const std::array<Insert, 7>& inserts();

// The insert menu's nine entries, in order.
const std::array<const char*, 9>& insertMenu();

// The text an insert opens with: its file's lines, each ended by CR LF, or its default.
std::string insertText(const Insert& insert);

// A purpose an appraisal may be made for, and the type of value it states.
struct Purpose {
    std::string use, value;
};
// The store's purposes, in order, the first the usual one: the lines of its purposes passage
// ("Insurance replacement; retail replacement value"), blank lines left out; the default list
// when it has none.
std::vector<Purpose> purposes();

// The purpose passage as composed: its lines with "{purpose}", "{type of value}", "{effective
// date}" and "{report date}" filled in; nothing while the store has no purpose passage.
std::vector<std::string> purposeLines(const Purpose& purpose, const std::string& effectiveDate,
                                      const std::string& reportDate);

// Whether a file is one of the passages (the only files an edited passage's Save writes).
bool isPassageFile(const std::string& file);
// A passage's lines as its file holds them; nothing when the store has not written it.
std::optional<std::vector<std::string>> passageLines(const char* file);
// The appraisal's heading: the first line of the type line's file; nothing without the file.
std::optional<std::string> typeLine();

} // namespace appraise
