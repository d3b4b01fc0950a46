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

std::string appraisalSummary(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    std::vector<std::string> parts;
    if (!lines.empty() && !trim(lines[0]).empty()) parts.emplace_back(trim(lines[0]));

    int items = 0;
    std::string what, value;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line(trim(lines[i]));
        if (startsWith(line, "Item number")) {
            if (++items > 1) continue;
            size_t k = i + 1;
            while (k < lines.size() && trim(lines[k]).empty()) ++k;
            std::string sentence;
            // The sentence is wrapped after blanks; a line ending in one goes on.
            for (; k < lines.size() && !trim(lines[k]).empty(); ++k) {
                if (!sentence.empty() && lines[k].front() == ' ') break; // a stone's line, or the value
                sentence += lines[k];
                if (lines[k].empty() || lines[k].back() != ' ') break;
            }
            what = whatTheItemIs(sentence);
        }
        if (const auto at = line.find("Replacement Value:"); at != std::string::npos)
            value = groupedPrice(std::string(trim(line.substr(at + 18))));
    }
    if (items > 1) {
        if (!what.empty()) what += ' ';
        what.append("and ").append(std::to_string(items - 1)).append(" more");
    }
    if (!what.empty()) parts.push_back(what);
    if (!value.empty()) parts.push_back(value);
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "  ") + p;
    return out;
}

} // namespace appraise
