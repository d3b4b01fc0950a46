#pragma once
#include "appraise/printing/layout_settings.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace appraise {

// "align.fac" is there; "align.fa1", the store's default copy of it, is there.
bool hasAlignmentFile();
bool hasDefaultAlignment();
// Replaces "align.fac" with the default copy "align.fa1".
void restoreDefaultAlignment();
// Writes a new "align.fac" with the 22 default lines.
void writeNewAlignmentFile();

// Reads "align.fac": 13 values, then up to `fillers` filler fields, each read passed over
// when it fails. Returns the last filler read (normally empty).
std::string readAlignmentFile(LayoutSettings& s, int fillers);

// Writes "align.fac" anew: values 1 to 12 as held, value 13 with its sign place and a trailing
// blank (" 50 ", "-5 "), then 12 filler lines holding `filler`.
void writeAlignmentFile(const LayoutSettings& s, const std::string& filler);

// The editor's lines for the values held, in list order (27 lines).
std::vector<QString> alignmentEditorLines(const LayoutSettings& s);

// What a row of the editor's list is: the heading, one of the values 1 to 12 (row n holds
// value n), value 13 (the signature block's left margin), the line that sets every value back
// to its default (the last), or a line of explanation.
enum class AlignmentRow { Heading, TextValue, SignatureMargin, RestoreDefaults, Explanation };
AlignmentRow alignmentRow(int row);

// The input-box label of value n (1 to 13).
QString alignmentPrompt(int n);

// Value 13 from an answer: a whole number in the 16-bit range, or nothing.
std::optional<int16_t> signatureFactor(const std::string& answer);

} // namespace appraise
