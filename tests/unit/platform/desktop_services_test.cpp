#include "platform/desktop_services.h"

#include "common/env.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
using Words = std::vector<std::string>;

TEST(CommandLineTest, ShellRulesTakeQuotesAndBackslashes) {
    EXPECT_EQ(splitCommandLine("soffice --writer app.tmp", CommandLineRules::Shell),
              (Words{"soffice", "--writer", "app.tmp"}));
    EXPECT_EQ(splitCommandLine(R"(a\ b "c d" 'e\f' "g\"h")", CommandLineRules::Shell),
              (Words{"a b", "c d", "e\\f", "g\"h"}));
    EXPECT_EQ(splitCommandLine("  ", CommandLineRules::Shell), Words{});
}

// A store's command is a Windows path: its backslashes stay, and a quoted path with blanks is one
// word, as the Microsoft C runtime splits it.
TEST(CommandLineTest, WindowsRulesKeepThePathsBackslashes) {
    EXPECT_EQ(splitCommandLine(R"(C:\WP51\WORD app.tmp)", CommandLineRules::Windows),
              (Words{"C:\\WP51\\WORD", "app.tmp"}));
    EXPECT_EQ(
        splitCommandLine(R"("C:\Program Files\LibreOffice\program\soffice.exe" app.tmp)", CommandLineRules::Windows),
        (Words{"C:\\Program Files\\LibreOffice\\program\\soffice.exe", "app.tmp"}));
    // 2n backslashes before a quote are n and the quote opens; 2n+1 are n and a quote.
    EXPECT_EQ(splitCommandLine(R"(a\\"b c" d\"e "f""g")", CommandLineRules::Windows),
              (Words{"a\\b c", "d\"e", "f\"g"}));
    EXPECT_EQ(splitCommandLine(R"(x\\ "")", CommandLineRules::Windows), (Words{"x\\\\", ""}));
}

// Looked up in the folder first: a Windows program by its name with or without ".exe".
TEST(FindProgramTest, TheFolderWithOrWithoutExe) {
    testsupport::TempFolder tmp;
    testsupport::putFile("Write.EXE", "");
    testsupport::putFile("tool", "");
    namespace fs = std::filesystem;
    fs::permissions("tool", fs::perms::owner_all);
    fs::permissions("Write.EXE", fs::perms::owner_all);
#ifdef _WIN32
    EXPECT_EQ(findProgram("write", {}), "./Write.EXE"); // every .exe is a program
    EXPECT_EQ(findProgram("tool", {}), "");             // a file without one is not
#else
    EXPECT_EQ(findProgram("tool", {}), "./tool");
    EXPECT_EQ(findProgram("write", {}), "./Write.EXE"); // executable here, found by either name
    EXPECT_EQ(findProgram("tool.exe", {}), "./tool");
#endif
    EXPECT_EQ(findProgram("nothing-of-that-name", {}), "");
}
