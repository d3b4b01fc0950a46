#pragma once
#include "common/money.h"

namespace appraise {

// The heading of the printed appraisal, as flag files the store sets with Format and Store Logo.
enum class HeadingFlag {
    NoAppraisalLogo, // "aplogoNO.dat"
    NameInWording,   // "nologowc.dat": the store's name and address in wording, no logo
    NoHeading,       // "logono.dat": paper with the letterhead already printed
};

bool isSet(HeadingFlag flag);
// Sets the flag (a file holding "N") or clears it (the file removed).
void setFlag(HeadingFlag flag, bool on);

// "logosize.dat": the logo's position factor; nothing when there is no file.
bool hasLogoFactor();
common::Money readLogoFactor();

} // namespace appraise
