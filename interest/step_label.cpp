#include "interest/step_label.h"

#include <array>

namespace interest {

std::string StepLabel::text() const {
    static constexpr std::array<const char*, 16> labels = {"",      "HereA",   "HereB",    "HereC",  "HereD", "HereE",
                                                           "HereF", "HereG2/", "HereG33/", "HereG4", "HereH", "HereI",
                                                           "HereJ", "HereK",   "HereL",    "HereM"};
    std::string label = labels[static_cast<size_t>(step)];
    if (step == Step::ChainTransaction) label += file;
    return label;
}

} // namespace interest
