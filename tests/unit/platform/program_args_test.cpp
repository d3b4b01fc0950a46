#include "platform/qt/program_args.h"
#include "tests/support/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace platform;
using namespace testsupport;

namespace {
std::optional<QString> enter(const std::vector<std::string>& words) { return enterFolderArgument(words, "appraise"); }
} // namespace

TEST(FolderArgumentTest, SaysWhatIsWrongWithTheFolderAndWhatToDo) {
    TempFolder tmp;
    const QString here = QDir::currentPath();
    putFile("cust.dat", "");
    const auto missing = enter({"appraise", "no such store"});
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->startsWith(QStringLiteral("The folder "))) << missing->toStdString();
    EXPECT_TRUE(missing->contains(QDir::toNativeSeparators(here + QStringLiteral("/no such store")) +
                                  QStringLiteral(" does not exist.\n\nStart the program with the store's folder")));
    const auto file = enter({"appraise", "cust.dat"});
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->contains(QStringLiteral("is a file, not a folder")));
    const auto two = enter({"appraise", "a", "b"});
    ASSERT_TRUE(two);
    EXPECT_TRUE(two->startsWith(QStringLiteral("appraise takes one folder, the store's, and was given 2 words.")));
    EXPECT_EQ(QDir::currentPath(), here); // nothing refused changes the folder
    EXPECT_FALSE(enter({"appraise"}));
    QDir().mkdir(QStringLiteral("Złota Łódź"));
    EXPECT_FALSE(enter({"appraise", "Złota Łódź"}));
    EXPECT_TRUE(QDir::currentPath().endsWith(QStringLiteral("Złota Łódź")));
    QDir::setCurrent(here);
}
