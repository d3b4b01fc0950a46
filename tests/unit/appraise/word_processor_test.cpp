#include "appraise/documents/word_processor.h"
#include "tests/support/temp_folder.h"

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

// The export's command is kept as typed and comes back whole: a quoted program path with its
// arguments, a comma, surrounding blanks dropped.
TEST(WordProcessorTest, TheRememberedCommandComesBackAsTyped) {
    testsupport::TempFolder tmp;
    EXPECT_EQ(rememberedWordProcessor(), std::nullopt);
    for (const std::string command :
         {"\"C:\\Program Files\\Microsoft Office\\WINWORD.EXE\" app.tmp", "abiword app.tmp", "wp.exe /a,b app.tmp"}) {
        rememberWordProcessor(command);
        EXPECT_EQ(testsupport::getFile("wpname.dat"), command + "\r\n");
        EXPECT_EQ(rememberedWordProcessor(), command);
    }
    // A command file of the classic program: the line as written, blanks around it dropped.
    testsupport::putFile("wpname.dat", "  C:\\WP51\\WORD app.tmp  \r\n");
    EXPECT_EQ(rememberedWordProcessor(), "C:\\WP51\\WORD app.tmp");
    testsupport::putFile("wpname.dat", "");
    EXPECT_EQ(rememberedWordProcessor(), std::nullopt); // an empty file names none: one is suggested
}

TEST(WordProcessorTest, TheExportFileIsTheTextAndALineEnd) {
    testsupport::TempFolder tmp;
    writeExportFile("Line one\r\nLine two");
    EXPECT_EQ(testsupport::getFile("app.tmp"), "Line one\r\nLine two\r\n");
}
