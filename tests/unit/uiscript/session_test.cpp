#include "tests/support/temp_folder.h"
#include "tools/uiscript/session.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {
struct Finished {
    int code;
};

// Runs a script through a session in a fresh folder; what it printed and how it ended.
struct ScriptRun {
    QStringList out, errors;
    int status = -1;
    explicit ScriptRun(const QString& script) {
        uiscript::Session session([this](const QString& l) { out << l; }, [this](const QString& l) { errors << l; },
                                  [](int code) { throw Finished{code}; });
        try {
            status = session.run(script.split('\n'));
        } catch (const Finished& f) {
            status = f.code;
        }
    }
};
} // namespace

TEST(SessionTest, ScriptsThatCannotRunStopWithTheirLine) {
    TempFolder tmp;
    const std::pair<const char*, const char*> cases[] = {
        {"frobnicate", "uiscript: line 1: unknown command frobnicate"},
        {"answer yes", "uiscript: line 1: answer before open"},
        {"click Start", "uiscript: line 1: click before open"},
        {"# comment\n\nopen nowhere", "uiscript: line 3: unknown window nowhere"},
        {"open interest\ntoday 12-08-2026", "uiscript: line 2: today must come before open"},
        {"open interest\nopen interest", "uiscript: line 2: one window a script"},
        {"open interest\nclick Nothing", "uiscript: line 2: unknown control Nothing"},
        {"open interest\ntype datebox \"12-8-26", "uiscript: line 2: unclosed quote"},
        {"today 13-45-2026", "uiscript: line 1: bad date 13-45-2026"},
    };
    for (const auto& [script, error] : cases) {
        const ScriptRun r(script);
        EXPECT_EQ(r.status, 2) << script;
        EXPECT_EQ(r.errors, QStringList{error}) << script;
    }
}

TEST(SessionTest, ExpectationsAndUnreachableControlsFailTheScriptButItRunsOn) {
    TempFolder tmp;
    const ScriptRun r("today 12-08-2026\nopen interest\nexpect datebox text \"1-1-01\"\nclick Gauge1\n"
                      "expect datebox text \"12-8-26\"\nshow focus");
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), 3);
    EXPECT_TRUE(r.out.contains("FAIL line 3: datebox text is \"12-8-26\", expected \"1-1-01\""));
    EXPECT_TRUE(r.out.contains("FAIL line 4: Gauge1 is hidden: a person cannot reach it"));
    EXPECT_TRUE(r.out.last().startsWith("focus "));
    EXPECT_TRUE(r.errors.isEmpty());
}
