#pragma once
#include "appraise/worksheet/item_stone_records.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace appraise {

// The text being edited beside the worksheet and where it is kept: a composed appraisal (numbered
// at its first Save), an earlier appraisal reopened from its file, or a template passage; with
// the items ended on the worksheet that no Save has written yet.
//
// A composed text belongs to its items: the wording the jeweler edited stays with them while See
// Text goes round the items, and comes back when they are composed again; a Save of it is
// remembered for them too, so that composing them again and saving rewrites the same file.
//
// Texts are as the files hold them: the store's code page, CR LF line ends, without the line end
// a Save adds.
class AppraisalDocument {
  public:
    // Whose appraisals are numbered: the customer's five-digit prefix.
    void setCustomer(std::string custprefix) { custprefix_ = std::move(custprefix); }

    using Items = std::vector<int16_t>;

    // A text composed from these items: a new appraisal, numbered at its first Save, unless
    // these items were saved before (their Save then writes that file again).
    void composed(Items items);
    // The text as composed afresh and shown, before any edit.
    void composedAs(std::string freshText) { freshText_ = std::move(freshText); }
    // The wording the jeweler left on screen: kept with its items when it differs from the text
    // composed afresh. Nothing for a text that is not a composed appraisal.
    void keepShown(const std::string& shownText);
    // The items of the composed text (none for a reopened appraisal or a passage).
    const Items& composedItems() const { return composedItems_; }
    // The wording kept for these items, if it was edited.
    std::optional<std::string> keptWording(const Items& items) const;
    // Edited wordings that no Save has written, with their items.
    std::vector<std::pair<Items, std::string>> unsavedWordings() const;
    // An earlier appraisal: its text as the text area shows it (see reopenAppraisal). Its Save
    // writes the same file.
    std::string reopen(const std::string& file);
    // A new appraisal made from an earlier one (a re-appraisal, or a new version of one
    // reopened): numbered at its first Save among the appraisals of `prefix`, the earlier file
    // left as it is. Nothing of it is saved yet.
    void madeFrom(std::string prefix);
    // Whether the text is an earlier appraisal reopened from its file (its Save rewrites it).
    bool isReopened() const { return isAppraisal() && reopened_; }
    // A template passage ("opening.app", ...) taken for editing: its Save writes the passage.
    void editPassage(const std::string& file);

    bool isAppraisal() const { return editing_ == appraisalEdit; }
    // Whether the appraisal shown (as `shownText`) has changes no Save has written.
    bool changed(const std::string& shownText) const { return isAppraisal() && shownText != savedText_; }
    // The appraisal's text as the text area gives it back once shown: what its file holds, for
    // changed() to compare with. Set by reopen and save; the window tells it again after showing.
    void keptAs(std::string shownText) { savedText_ = std::move(shownText); }
    // The file a reopened or saved appraisal lives in ("" before its first Save).
    const std::string& file() const { return file_; }

    enum class Saved { Appraisal, Passage, NoNumberLeft, Nothing };
    // Writes the text (a CR LF added): an appraisal to its file or the customer's next free
    // number, a passage to the passage. A composed appraisal's items count as saved. A failed
    // write is a RunError; target() names the file it went to, and nothing is recorded.
    Saved save(const std::string& text);
    // The file the last Save wrote or tried to write.
    const std::string& target() const { return target_; }

    // An item ended on the worksheet; it waits for a Save. What was kept for it before (an edited
    // wording, the file it was saved to) belonged to what it held then, and is forgotten.
    void itemEnded(int16_t slot);
    // Items ended and not yet saved as an appraisal, or whose edited wording is not saved (empty
    // ones not counted), in order.
    std::vector<int16_t> unsavedItems(const WorksheetTables& tables) const;
    // The unsaved item after `shown`, going round; nothing when every item is saved.
    std::optional<int16_t> nextUnsaved(const WorksheetTables& tables, int16_t shown) const;
    // Whether the text shown is a composed appraisal whose items a Save would settle.
    bool isComposed() const { return isAppraisal() && !reopened_ && newPrefix_.empty(); }
    // Whether the text is a new appraisal made from an earlier one, saved or not.
    bool isMadeFrom() const { return isAppraisal() && !newPrefix_.empty(); }
    // The customer's next free appraisal file; nothing when all 999 are used.
    std::optional<std::string> nextFile() const;
    // Writes the text of these items to `file` (a CR LF added): they are saved.
    void saveItems(const Items& items, const std::string& file, const std::string& text);
    // The file these items were last saved to, while it exists; else the customer's next free one.
    std::optional<std::string> fileFor(const Items& items) const;

  private:
    static constexpr const char* appraisalEdit = "main.app";

    std::string custprefix_;
    std::string newPrefix_; // whose number a text made from an earlier appraisal takes
    std::string editing_;   // "main.app" for an appraisal, else the passage's file
    std::string file_;      // the file the appraisal was reopened from or saved to
    std::string savedText_; // the appraisal's text as that file holds it
    std::string target_;
    bool reopened_ = false;
    Items composedItems_;
    std::string freshText_; // the composed text before any edit
    std::set<int16_t> unsaved_;
    struct Kept {
        std::string wording;         // edited wording; empty when not edited
        std::string file, savedText; // the last Save of these items
    };
    std::map<Items, Kept> kept_;
};

// The question before leaving with unsaved items: "Item 2 has not been saved as an appraisal. Save
// it now?", "Items 1, 2 and 3 have not been saved as appraisals. Save them now?".
QString unsavedItemsQuestion(const std::vector<int16_t>& items);

} // namespace appraise
