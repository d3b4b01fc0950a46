#include "appraise/use_cases/appraisal_document.h"

#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/composition.h"
#include "appraise/printing/inserts.h"
#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

void AppraisalDocument::composed(std::vector<int16_t> items) {
    editing_ = appraisalEdit;
    file_.clear();
    savedText_.clear();
    reopened_ = false;
    composedItems_ = std::move(items);
}

std::string AppraisalDocument::reopen(const std::string& file) {
    std::string text = reopenAppraisal(file);
    editing_ = appraisalEdit;
    file_ = file;
    savedText_ = text;
    reopened_ = true;
    return text;
}

void AppraisalDocument::editPassage(const std::string& file) { editing_ = file; }

AppraisalDocument::Saved AppraisalDocument::save(const std::string& text) {
    target_.clear();
    if (isAppraisal()) {
        if (file_.empty() || !fileExists(file_)) {
            const auto next = nextFile();
            if (!next) return Saved::NoNumberLeft;
            file_ = *next;
        }
        target_ = file_;
        writeBytes(target_, text + "\r\n");
        savedText_ = text;
        if (!reopened_)
            for (int16_t n : composedItems_) unsaved_.erase(n);
        return Saved::Appraisal;
    }
    if (!isPassageFile(editing_)) return Saved::Nothing;
    target_ = editing_;
    writeBytes(target_, text + "\r\n");
    return Saved::Passage;
}

std::vector<int16_t> AppraisalDocument::unsavedItems(const WorksheetTables& tables) const {
    std::vector<int16_t> numbers;
    for (int16_t n : unsaved_)
        if (val(fieldText(tables.items[n], itemrec::itemno)) > 0 && !itemIsEmpty(tables, n)) numbers.push_back(n);
    return numbers;
}

std::optional<int16_t> AppraisalDocument::nextUnsaved(const WorksheetTables& tables, int16_t shown) const {
    const std::vector<int16_t> left = unsavedItems(tables);
    if (left.empty()) return std::nullopt;
    for (int16_t n : left)
        if (n > shown) return n;
    return left.front();
}

std::optional<std::string> AppraisalDocument::nextFile() const { return nextAppraisalFile(custprefix_); }

void AppraisalDocument::saveItem(int16_t slot, const std::string& file, const std::string& text) {
    writeBytes(file, text + "\r\n");
    unsaved_.erase(slot);
}

QString unsavedItemsQuestion(const std::vector<int16_t>& items) {
    if (items.size() == 1)
        return QStringLiteral("Item %1 has not been saved as an appraisal. Save it now?").arg(items.front());
    // "2 and 3", "1, 2 and 3"
    QString numbers;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) numbers += i + 1 == items.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        numbers += QString::number(items[i]);
    }
    return QStringLiteral("Items %1 have not been saved as appraisals. Save them now?").arg(numbers);
}

} // namespace appraise
