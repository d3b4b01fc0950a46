#pragma once
#include <string>

namespace appraise {

// What a saved appraisal's wording says of it.
struct AppraisalFacts {
    std::string date;      // its first line ("12-9-26")
    std::string customer;  // the customer's first line, after the heading ("Ann Smith")
    std::string firstItem; // "Ring, 14 karat yellow gold"; "... and 2 more" for several items
    std::string value;     // the first item's replacement value, or the total of several ("2,450.00")
    std::string everyItem; // what each item is, in order: "Ring, 14 karat yellow gold; Watch"
    int items = 0;
    // The number of the appraisal this one was made again from ("00012001"), if it was.
    std::string reappraisalOf;
};

AppraisalFacts appraisalFacts(const std::string& text);

// One line that tells a saved appraisal from the others, read from its wording: its date, its
// first item and that item's replacement value, or the total of an appraisal of several items
// ("12-9-26  Ring, 14 karat yellow gold  2,450.00"). Parts the wording lacks are left out.
std::string appraisalSummary(const std::string& text);
// The same line from the facts already read.
std::string appraisalSummary(const AppraisalFacts& facts);

// The line a re-appraisal carries after its value: what the earlier appraisal gave
// ("Appraised 12-7-24 at 2,450.00 (appraisal 00012001)").
std::string earlierValueLine(const AppraisalFacts& earlier, const std::string& number);

// A new appraisal made from an earlier one's wording: the date of today in place of the earlier
// date, and after the last replacement value the line that names the earlier value. The earlier
// wording is otherwise kept for the jeweler to go over.
std::string reappraisalText(const std::string& earlierText, const std::string& number, const std::string& today);

} // namespace appraise
