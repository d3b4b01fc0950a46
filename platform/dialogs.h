#pragma once
#include <QString>
#include <optional>

namespace platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry };

// The answer of a box that the user closes from its frame or with Escape: OK for an OK-only box,
// No for Yes/No, Cancel otherwise.
Answer cautiousAnswer(Buttons buttons);
// Whether an answer is one of the box's buttons.
bool answerFits(Answer answer, Buttons buttons);
// The button that Enter presses: the one asked for when it is among the box's buttons, else the
// cautious one.
Answer defaultAnswer(Buttons buttons, std::optional<Answer> asked);

// Modal message box. An empty title means the program's own name. The default answer is the
// button Enter presses; without one it is the cautious answer, so a question that erases, posts or
// replaces something is never answered Yes by a stray Enter.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual Answer show(const QString& text, const QString& title = {}, Buttons buttons = Buttons::Ok,
                        Icon icon = Icon::None, std::optional<Answer> defaultButton = std::nullopt) = 0;
};

// Modal input box; Cancel gives the empty text.
class InputBox {
  public:
    virtual ~InputBox() = default;
    virtual QString ask(const QString& prompt, const QString& title = {}, const QString& defaultText = {}) = 0;
};

struct FontChoice {
    QString name;
    double size = 12;
    bool bold = false;
    bool italic = false;
    bool operator==(const FontChoice&) const = default;
};

// The font dialog: the chosen font, or nothing on Cancel.
class FontDialog {
  public:
    virtual ~FontDialog() = default;
    virtual std::optional<FontChoice> choose(const FontChoice& current) = 0;
};

// The desktop's dialog for choosing a picture file (JPEG or PNG): its path, or nothing on Cancel.
class PictureDialog {
  public:
    virtual ~PictureDialog() = default;
    virtual std::optional<QString> choosePicture(const QString& title) = 0;
};

// The print-setup dialog: true when the user chose a printer.
class PrintSetupDialog {
  public:
    virtual ~PrintSetupDialog() = default;
    virtual bool choose() = 0;
};

} // namespace platform
