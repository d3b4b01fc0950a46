// A whole posting run over an account and transactions made of any bytes: the run either
// completes or stops with a run-time error, never crashes or hangs, and never writes an
// account field it does not own.
#include "common/file_names.h"
#include "common/run_error.h"
#include "interest/account_files.h"
#include "interest/posting_run.h"
#include "tests/support/headless_host.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace common;
using namespace interest;
using namespace testsupport;

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fs::path dir = [] {
        char tmpl[] = "/tmp/fuzz-posting-XXXXXX";
        return fs::path(::mkdtemp(tmpl));
    }();
    // Work in a folder of its own, and leave the fuzzer where it was.
    struct Back {
        fs::path old = fs::current_path();
        ~Back() { fs::current_path(old); }
    } back;
    fs::current_path(dir);
    for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
    std::string bytes(reinterpret_cast<const char*>(data), size);
    bytes.resize(custrec::length + 3 * transrec::length, ' ');
    const std::string account = bytes.substr(0, custrec::length);
    std::ofstream("cust.dat", std::ios::binary) << account;
    std::ofstream("Cust.ptn", std::ios::binary) << " 1\r\n";
    // The transactions go into the month file the account names, and into the posting month.
    const std::string months = bytes.substr(custrec::length);
    std::string code(fieldText(account, custrec::lasttxfile));
    // (Not when the code names the account file itself: that would overwrite the input.)
    if (code.find_first_of(std::string("/\0", 2)) == std::string::npos && !code.empty() && !sameName(code, "cust"))
        std::ofstream(code + ".dat", std::ios::binary) << months;
    std::ofstream("1226.dat", std::ios::binary) << months;
    for (bool firstmon : {false, true}) {
        HeadlessHost host;
        interest::StepLabel steplabel;
        PostingRun run(PostingInput{interest::postingDateOf("12-8-26"), ".015", "1.00", true, firstmon, true}, host,
                       steplabel);
        try {
            run.run();
        } catch (const RunError&) {
            // Stopping with a run-time error is an answer; the files stay consistent.
        }
    }
    std::ifstream in("cust.dat", std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), {});
    // The fields Interest does not own come through unchanged.
    for (const Field f :
         {custrec::fields[2], custrec::fields[3], custrec::fields[4], custrec::fields[5], custrec::fields[6],
          custrec::fields[10], custrec::fields[12], custrec::fields[13], custrec::fields[14], custrec::fields[16],
          custrec::fields[19], custrec::fields[20], custrec::fields[21]})
        if (after.size() >= custrec::length && fieldText(after, f) != fieldText(account, f)) std::abort();
    return 0;
}
