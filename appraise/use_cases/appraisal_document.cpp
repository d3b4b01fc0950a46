#include "appraise/use_cases/appraisal_document.h"

#include "appraise/documents/appraisal_files.h"
#include "appraise/documents/composition.h"
#include "appraise/printing/inserts.h"
#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/text_file.h"

#include <algorithm>

namespace appraise {

using namespace common;

void AppraisalDocument::composed(Items items) {
    editing_ = appraisalEdit;
    newPrefix_.clear();
    file_.clear();
    savedText_.clear();
    freshText_.clear();
    reopened_ = false;
    composedItems_ = std::move(items);
    if (const auto it = kept_.find(composedItems_); it != kept_.end()) {
        file_ = it->second.file;
        savedText_ = it->second.savedText;
    }
}

void AppraisalDocument::keepShown(const std::string& shownText) {
    if (!isComposed() || composedItems_.empty()) return;
    if (shownText == freshText_) {
        // Back to the composed wording: nothing edited to keep.
        if (const auto it = kept_.find(composedItems_); it != kept_.end()) it->second.wording.clear();
        return;
    }
    kept_[composedItems_].wording = shownText;
}

std::optional<std::string> AppraisalDocument::keptWording(const Items& items) const {
    const auto it = kept_.find(items);
    if (it == kept_.end() || it->second.wording.empty()) return std::nullopt;
    return it->second.wording;
}

std::vector<std::pair<AppraisalDocument::Items, std::string>> AppraisalDocument::unsavedWordings() const {
    std::vector<std::pair<Items, std::string>> left;
    for (const auto& [items, k] : kept_)
        if (!k.wording.empty() && k.wording != k.savedText) left.emplace_back(items, k.wording);
    return left;
}

void AppraisalDocument::itemEnded(int16_t slot) {
    unsaved_.insert(slot);
    std::erase_if(kept_,
                  [slot](const auto& k) { return std::find(k.first.begin(), k.first.end(), slot) != k.first.end(); });
}

std::string AppraisalDocument::reopen(const std::string& file) {
    std::string text = reopenAppraisal(file);
    editing_ = appraisalEdit;
    newPrefix_.clear();
    file_ = file;
    savedText_ = text;
    reopened_ = true;
    composedItems_.clear();
    return text;
}

void AppraisalDocument::madeFrom(std::string prefix) {
    editing_ = appraisalEdit;
    newPrefix_ = std::move(prefix);
    file_.clear();
    savedText_.clear();
    freshText_.clear();
    reopened_ = false;
    composedItems_.clear();
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
        if (!reopened_ && newPrefix_.empty()) {
            for (int16_t n : composedItems_) unsaved_.erase(n);
            Kept& k = kept_[composedItems_];
            k.file = file_;
            k.savedText = text;
            if (text != freshText_) k.wording = text;
        }
        return Saved::Appraisal;
    }
    if (!isPassageFile(editing_)) return Saved::Nothing;
    target_ = editing_;
    writeBytes(target_, text + "\r\n");
    return Saved::Passage;
}

std::vector<int16_t> AppraisalDocument::unsavedItems(const WorksheetTables& tables) const {
    std::set<int16_t> candidates = unsaved_;
    for (const auto& [items, wording] : unsavedWordings()) candidates.insert(items.begin(), items.end());
    std::vector<int16_t> numbers;
    for (int16_t n : candidates)
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

std::optional<std::string> AppraisalDocument::nextFile() const {
    return nextAppraisalFile(newPrefix_.empty() ? custprefix_ : newPrefix_);
}

void AppraisalDocument::saveItems(const Items& items, const std::string& file, const std::string& text) {
    writeBytes(file, text + "\r\n");
    for (int16_t n : items) unsaved_.erase(n);
    Kept& k = kept_[items];
    k.file = file;
    k.savedText = text;
    if (!k.wording.empty()) k.wording = text;
}

std::optional<std::string> AppraisalDocument::fileFor(const Items& items) const {
    if (!newPrefix_.empty()) return nextFile();
    if (const auto it = kept_.find(items); it != kept_.end() && !it->second.file.empty() && fileExists(it->second.file))
        return it->second.file;
    return nextFile();
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
