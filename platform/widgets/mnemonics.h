#pragma once

#include <QString>

#include <utility>
#include <vector>

class QWidget;

namespace platform {

// A caption as shown: the Alt-key marker removed, "&&" read as one ampersand.
QString withoutMnemonic(const QString& caption);

// The Alt-key letter a caption carries, or a null QChar.
QChar mnemonicOf(const QString& caption);

// Captions with Alt keys that go silent together while another part of the window covers them
// (a covered control would still take its Alt key, as Qt does not know it is covered).
// Buttons, group boxes and labels with a buddy are supported.
class MnemonicGroup {
  public:
    // Takes the control's caption as it is now, with its marker.
    void add(QWidget* w);
    // Sets the control's caption, with its marker while the group is active.
    void setCaption(QWidget* w, const QString& marked);
    void setActive(bool on);

  private:
    void apply(QWidget* w, const QString& marked) const;
    std::vector<std::pair<QWidget*, QString>> captions_;
    bool active_ = true;
};

} // namespace platform
