#include "platform/dialogs.h"

namespace platform {

Answer cautiousAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool answerFits(Answer a, Buttons b) {
    switch (b) {
    case Buttons::Ok: return a == Answer::Ok;
    case Buttons::OkCancel: return a == Answer::Ok || a == Answer::Cancel;
    case Buttons::YesNo: return a == Answer::Yes || a == Answer::No;
    case Buttons::YesNoCancel: return a == Answer::Yes || a == Answer::No || a == Answer::Cancel;
    case Buttons::RetryCancel: return a == Answer::Retry || a == Answer::Cancel;
    }
    return false;
}

Answer defaultAnswer(Buttons buttons, std::optional<Answer> asked) {
    return asked && answerFits(*asked, buttons) ? *asked : cautiousAnswer(buttons);
}

} // namespace platform
