#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "tests/support/held_lock.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

using namespace common;
using namespace testsupport;

TEST(TextReaderTest, FreeFormatFields) {
    auto r = TextReader::fromBytes("\"a, b\",c\r\n  12  , x y \r\n\"q\"\r\nlast");
    EXPECT_EQ(r.readField(), "a, b");
    EXPECT_EQ(r.readField(), "c");
    EXPECT_EQ(r.readField(), "12");
    EXPECT_EQ(r.readField(), "x y");
    EXPECT_EQ(r.readField(), "q");
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.readField(), "last");
    EXPECT_TRUE(r.atEnd());
    try {
        r.readField();
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 62);
    }
}

TEST(TextReaderTest, MoreDataAfterFourFields) {
    auto four = TextReader::fromBytes("Ann\r\n1 Main\r\nTown\r\n12\r\n");
    for (int i = 0; i < 4; ++i) four.readField();
    EXPECT_TRUE(four.atEnd());
    auto five = TextReader::fromBytes("Ann\r\n1 Main\r\nTown\r\nState\r\n12\r\n");
    for (int i = 0; i < 4; ++i) five.readField();
    EXPECT_FALSE(five.atEnd());
    EXPECT_EQ(five.readField(), "12");
}

TEST(TextReaderTest, LinesKeepCommasAndQuotes) {
    auto r = TextReader::fromBytes("one, \"two\"\r\n\r\nlf only\nend\x1aignored");
    EXPECT_EQ(r.readLine(), "one, \"two\"");
    EXPECT_EQ(r.readLine(), "");
    EXPECT_EQ(r.readLine(), "lf only");
    EXPECT_EQ(r.readLine(), "end");
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.readLine(), RunError);
}

TEST(TextReaderTest, EmptyFieldsAndLines) {
    auto r = TextReader::fromBytes(",\r\n \r\n");
    EXPECT_EQ(r.readField(), "");
    EXPECT_EQ(r.readField(), "");
    EXPECT_EQ(r.readField(), "");
    EXPECT_TRUE(r.atEnd());
}

TEST(TextFileTest, WritesCrLfAndReadsBack) {
    TempFolder tmp;
    writeLines("lastpost.dat", {"12-7-98", " .015", " 5"});
    EXPECT_EQ(getFile("lastpost.dat"), "12-7-98\r\n .015\r\n 5\r\n");
    TextReader r("LASTPOST.DAT");
    EXPECT_EQ(r.readField(), "12-7-98");
    EXPECT_EQ(r.readField(), ".015");
}

TEST(TextFileTest, ReplacesUnderExistingCaseAndKeepsMode) {
    TempFolder tmp;
    putFile("CUST.PTN", "5\r\n");
    using fs::perms;
    const perms mode = perms::owner_read | perms::owner_write | perms::group_read;
    fs::permissions("CUST.PTN", mode);
    writeLines("Cust.ptn", {" 6"});
    EXPECT_EQ(getFile("CUST.PTN"), " 6\r\n");
    EXPECT_FALSE(fileExists("Cust.ptn.~new"));
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no mode bits to keep, only the read-only attribute";
#endif
    EXPECT_EQ(fs::status("CUST.PTN").permissions() & perms::all, mode);
}

TEST(TextFileTest, HeldFileIsLeftAsItWas) {
    TempFolder tmp;
    putFile("1298.ptn", " 4\r\n");
    testsupport::HeldLock reader("1298.ptn", false); // another computer reads it
    try {
        writeLines("1298.ptn", {" 5"});
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 70);
    }
    reader.release();
    EXPECT_EQ(getFile("1298.ptn"), " 4\r\n");
}

TEST(TextFileTest, MissingFileIsNotFound) {
    TempFolder tmp;
    try {
        TextReader r("none.dat");
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 53);
    }
}

TEST(Cp1252Test, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString text = fromAnsi(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
    EXPECT_EQ(fromAnsi("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(fromAnsi("\xE9"), QStringLiteral("é"));
    EXPECT_EQ(toAnsi(QStringLiteral("€ ✓")), "\x80 ?");
}

TEST(CodePageTest, CharactersOutsideAreNamedOnceAndBecomeOneQuestionMarkEach) {
    const QString text = QString::fromUtf8("永远爱你 💍 ✓ Ω € é 永");
    EXPECT_EQ(
        charactersOutsideCodePage(text),
        (QStringList{QString::fromUtf8("永"), QString::fromUtf8("远"), QString::fromUtf8("爱"), QString::fromUtf8("你"),
                     QString::fromUtf8("💍"), QString::fromUtf8("✓"), QString::fromUtf8("Ω")}));
    EXPECT_EQ(toAnsi(text), "???? ? ? ? \x80 \xe9 ?");
    EXPECT_TRUE(charactersOutsideCodePage(fromAnsi(std::string("a\0\x81\xff", 4))).isEmpty());
    // A lone surrogate is a character the code page cannot hold too.
    EXPECT_EQ(charactersOutsideCodePage(QString(QChar(0xD83D))).size(), 1);
}
