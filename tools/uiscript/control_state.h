#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace uiscript {

// A text with the data folder the script runs in written "<folder>", and the paths in it with
// "/", so that a transcript does not depend on where, or on which system, it ran. `escaped`: a
// transcript line, where a backslash of the text is written twice.
QString withFolderNamed(QString text, bool escaped);

// What a script can see of a control, read the way a person sees it.
QString controlText(QWidget* w); // text box text or caption, the folder named as above
QString rawControlText(QWidget* w);
std::optional<int> controlValue(QWidget* w); // option, check box, scroll bar, progress bar
bool controlVisible(QWidget* w);
// The lines of a `show` command.
QStringList showControl(QWidget* w);
// The lines of `show shortcuts`: each Alt key on screen and what it reaches, in letter order;
// a letter that reaches two controls is marked AMBIGUOUS.
QStringList showShortcuts(QWidget* window);

} // namespace uiscript
