#include "appraise/documents/word_processor.h"

#include <gtest/gtest.h>

using namespace appraise;

TEST(WordProcessorTest, TheFirstInstalledElseTheDesktopsOpenerNeverWrite) {
    EXPECT_EQ(suggestedWordProcessor([](const std::string&) { return false; }), "xdg-open app.tmp");
    EXPECT_EQ(suggestedWordProcessor([](const std::string& p) { return p == "abiword" || p == "soffice"; }),
              "soffice --writer app.tmp");
    EXPECT_EQ(suggestedWordProcessor([](const std::string& p) { return p == "write"; }), "xdg-open app.tmp");
}

TEST(WordProcessorTest, OnWindowsWordPadThenTheRegisteredOnesThenNotepad) {
    const auto none = [](const std::string&) { return std::string(); };
    const auto nothing = [](const std::string&) { return false; };
    EXPECT_EQ(suggestedWindowsWordProcessor([](const std::string& p) { return p == "write"; }, none), "write app.tmp");
    EXPECT_EQ(suggestedWindowsWordProcessor(nothing, none), "notepad app.tmp");
    // A path with blanks is quoted, so that the command line splits into the program and the file.
    const auto office = [](const std::string& p) {
        return p == "soffice.exe" ? std::string("C:\\Program Files\\LibreOffice\\program\\soffice.exe") : std::string();
    };
    const std::string command = suggestedWindowsWordProcessor(nothing, office);
    EXPECT_EQ(command, "\"C:\\Program Files\\LibreOffice\\program\\soffice.exe\" app.tmp");
    const auto both = [](const std::string& p) { return "C:\\" + p; };
    EXPECT_EQ(suggestedWindowsWordProcessor(nothing, both), "\"C:\\winword.exe\" app.tmp");
}
