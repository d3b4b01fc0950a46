#include "appraise/printing/border_size.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

bool hasBorderSize() { return fileExists(borderSizeFile); }

std::string readBorderSizeText() { return hasBorderSize() ? TextReader(borderSizeFile).readField() : "50"; }

int16_t readBorderSize() { return cint(val(TextReader(borderSizeFile).readField())); }

void writeBorderSize(const std::string& answer) { writeLines(borderSizeFile, {answer}); }

} // namespace appraise
