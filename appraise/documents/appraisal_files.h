#pragma once
#include <optional>
#include <string>

namespace appraise {

// The text to save: trailing blanks and carriage returns taken off, pass after pass, until a
// pass changes nothing (a line feed at the end stops it).
std::string trimForSave(std::string text);

// The first free appraisal file of a customer, "appraise\" + prefix + 001..999 + ".app";
// nothing when all 999 are used.
std::optional<std::string> nextAppraisalFile(const std::string& custprefix);

// The appraisal's number of its file's name: "appraise\00012001.app" gives "00012001" (either
// slash, any folder).
std::string appraisalNumberOf(const std::string& file);

// A saved appraisal as the text area shows it: the file's lines joined by CR LF, without the
// line end the file closes with, so that saving it again gives back the same bytes.
std::string reopenAppraisal(const std::string& path);

} // namespace appraise
