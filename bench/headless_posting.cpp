#include "bench/headless_posting.h"

#include "common/run_error.h"
#include "interest/posting_run.h"
#include "tests/support/headless_host.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon) {
    testsupport::HeadlessHost host;
    return postHeadless(datebox, rate, minimum, firstmon, host);
}

int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon,
                 testsupport::HeadlessHost& host) {
    interest::StepLabel steplabel;
    const auto date = interest::parsePostingDate(datebox);
    if (!date) {
        std::fprintf(stderr, "%s is no posting date\n", datebox.c_str());
        return 11;
    }
    interest::PostingInput in{*date, rate, minimum, true, firstmon, false};
    if (const char* block = std::getenv("POSTING_BLOCK")) in.blockSize = std::atoi(block);
    interest::PostingRun run(in, host, steplabel);
    try {
        return static_cast<int>(run.run());
    } catch (const common::RunError& e) {
        std::fprintf(stderr, "posting stopped at %s: %s\n", steplabel.text().c_str(), e.what());
        return 10;
    }
}

} // namespace bench
