#include "appraise/documents/appraisal_summary.h"
#include "common/trim_left_right_mid.h"

#include "appraise/worksheet/price_text.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace appraise {

using namespace common;

namespace {
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

void cutAt(std::string& s, const std::string& marker) {
    if (const auto at = s.find(marker); at != std::string::npos) s.erase(at);
}

// "One lady's ring made of 14 karat yellow gold weighing ..." gives "Ring, 14 karat yellow gold".
std::string whatTheItemIs(std::string sentence) {
    if (startsWith(sentence, "One ")) sentence.erase(0, 4);
    for (const char* wearer : {"man's ", "lady's "})
        if (startsWith(sentence, wearer)) sentence.erase(0, std::string(wearer).size());
    cutAt(sentence, " weighing approximately");
    cutAt(sentence, " and containing");
    if (const auto at = sentence.find(" made of "); at != std::string::npos) sentence.replace(at, 9, ", ");
    sentence = std::string(trim(sentence));
    if (!sentence.empty()) sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    return sentence.size() > 48 ? sentence.substr(0, 45) + "..." : sentence;
}
} // namespace

AppraisalFacts appraisalFacts(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    AppraisalFacts f;
    if (!lines.empty()) f.date = std::string(trim(lines[0]));
    if (lines.size() > 2) f.customer = std::string(trim(lines[2]));
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line(trim(lines[i]));
        if (startsWith(line, "Item number")) {
            ++f.items;
            size_t k = i + 1;
            while (k < lines.size() && trim(lines[k]).empty()) ++k;
            std::string sentence;
            // The sentence is wrapped after blanks; a line ending in one goes on.
            for (; k < lines.size() && !trim(lines[k]).empty(); ++k) {
                if (!sentence.empty() && lines[k].front() == ' ') break; // a stone's line, or the value
                sentence += lines[k];
                if (lines[k].empty() || lines[k].back() != ' ') break;
            }
            const std::string what = whatTheItemIs(sentence);
            if (f.items == 1) f.firstItem = what;
            f.everyItem += (f.everyItem.empty() ? "" : "; ") + what;
        }
        if (const auto at = line.find("Replacement Value:"); at != std::string::npos)
            f.value = groupedPrice(std::string(trim(line.substr(at + 18))));
        if (startsWith(line, "Appraised ") && line.size() > 10 && line.back() == ')') {
            const auto at = line.rfind("(appraisal ");
            if (at != std::string::npos) f.reappraisalOf = line.substr(at + 11, line.size() - at - 12);
        }
    }
    if (f.items > 1) {
        if (!f.firstItem.empty()) f.firstItem += ' ';
        f.firstItem.append("and ").append(std::to_string(f.items - 1)).append(" more");
    }
    return f;
}

std::string appraisalSummary(const std::string& text) { return appraisalSummary(appraisalFacts(text)); }

std::string appraisalSummary(const AppraisalFacts& f) {
    std::string out;
    for (const std::string* part : {&f.date, &f.firstItem, &f.value})
        if (!part->empty()) out += (out.empty() ? "" : "  ") + *part;
    return out;
}

std::string earlierValueLine(const AppraisalFacts& earlier, const std::string& number) {
    std::string line = "Appraised " + (earlier.date.empty() ? std::string("before") : earlier.date);
    if (!earlier.value.empty()) line += " at " + earlier.value;
    return line + " (appraisal " + number + ")";
}

std::string reappraisalText(const std::string& earlierText, const std::string& number, const std::string& today) {
    const AppraisalFacts earlier = appraisalFacts(earlierText);
    std::vector<std::string> lines = linesOf(earlierText);
    if (lines.empty()) lines.emplace_back();
    lines[0] = today;
    // A line naming an earlier value of its own gives way to this one's.
    std::erase_if(lines, [](const std::string& l) {
        const std::string t(trim(l));
        return startsWith(t, "Appraised ") && t.find("(appraisal ") != std::string::npos;
    });
    size_t after = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find("Replacement Value:") != std::string::npos) after = i + 1;
    const std::string valueLine = earlierValueLine(earlier, number);
    const std::string indent = valueLine.size() < 54 ? std::string(54 - valueLine.size(), ' ') : std::string();
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), indent + valueLine);
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
    return out;
}

} // namespace appraise
