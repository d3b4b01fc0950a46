#include "appraise/use_cases/item_photos.h"
#include "common/run_error.h"
#include "tests/support/run_error_expect.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <filesystem>
#include <gtest/gtest.h>

using namespace appraise;
using namespace testsupport;

namespace {

// A camera's JPEG of 80 x 40 stored, with the EXIF orientation that stands it upright (6).
const char* cameraJpeg =
    "/9j/4QAiRXhpZgAATU0AKgAAAAgAAQESAAMAAAABAAYAAAAAAAD/4AAQSkZJRgABAQAAAQABAAD/"
    "2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/"
    "2wBDAQMDAwQDBAgEBAgQCwkLEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBAQEBD/"
    "wAARCAAoAFADAREAAhEBAxEB/8QAFgABAQEAAAAAAAAAAAAAAAAAAAkI/8QAFBABAAAAAAAAAAAAAAAAAAAAAP/"
    "EABYBAQEBAAAAAAAAAAAAAAAAAAAHCf/EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAMAwEAAhEDEQA/"
    "AM6IY1TAAAAXeXNlYAAAAhChjVMAAABd5c2VgAAACEKGNUwAAAF3lzZWAAAAIQoY1TAAAAXeXNlYAAAAhChjVMAAABd5c2VgAAAD/9k=";

void putPicture(const std::string& name, const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, format).write(image));
    putFile(name, bytes.toStdString());
}

QImage filled(int w, int h, Qt::GlobalColor c) {
    QImage i(w, h, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

} // namespace

TEST(ItemPhotosTest, ReadUprightAndNoLargerThanForPrint) {
    TempFolder folder;
    putFile("camera.jpg", QByteArray::fromBase64(cameraJpeg).toStdString());
    const QImage upright = readPhoto(QStringLiteral("camera.jpg"));
    EXPECT_EQ(upright.size(), QSize(40, 80));
    putPicture("large.png", filled(4000, 1000, Qt::blue), "png");
    EXPECT_EQ(readPhoto(QStringLiteral("large.png")).size(), QSize(maxPhotoSide, 400));
    putFile("notes.jpg", "not a picture\r\n");
    EXPECT_TRUE(throwsRunError(75, [] { readPhoto(QStringLiteral("notes.jpg")); }));
    putPicture("icon.bmp", filled(4, 4, Qt::red), "bmp"); // a picture, but not one of the kinds asked for
    EXPECT_TRUE(throwsRunError(75, [] { readPhoto(QStringLiteral("icon.bmp")); }));
    EXPECT_TRUE(throwsRunError(53, [] { readPhoto(QStringLiteral("missing.jpg")); }));
}

TEST(ItemPhotosTest, KeptBesideTheAppraisalNeverRewrittenAndReadBackInOrder) {
    TempFolder folder;
    std::filesystem::create_directory("APPRAISE");
    ItemPhotos photos{{1, {filled(30, 20, Qt::red), filled(20, 30, Qt::green)}}, {3, {filled(10, 10, Qt::blue)}}};
    keepPhotos("00012001", photos);
    EXPECT_EQ(photoFileName("00012001", 3, 1), "appraise\\00012001 item 3 photo 1.jpg");
    for (const char* f : {"APPRAISE/00012001 item 1 photo 1.jpg", "APPRAISE/00012001 item 1 photo 2.jpg",
                          "APPRAISE/00012001 item 3 photo 1.jpg"})
        EXPECT_TRUE(std::filesystem::exists(f)) << f;
    // A photo already kept is left as it is, also when the one given differs.
    const std::string before = getFile("APPRAISE/00012001 item 1 photo 1.jpg");
    photos[1][0] = filled(300, 200, Qt::yellow);
    keepPhotos("00012001", photos);
    EXPECT_EQ(getFile("APPRAISE/00012001 item 1 photo 1.jpg"), before);
    putFile("APPRAISE/00012001 item 1 photo 10.jpg", "cut short"); // unreadable: left out, not lost
    putFile("APPRAISE/00012002 item 1 photo 1.jpg", before);       // another appraisal's
    const ItemPhotos back = loadPhotos("00012001");
    ASSERT_EQ(back.size(), 2u);
    ASSERT_EQ(back.at(1).size(), 2u);
    EXPECT_EQ(back.at(1)[0].size(), QSize(30, 20));
    EXPECT_EQ(back.at(1)[1].size(), QSize(20, 30));
    EXPECT_EQ(back.at(3).size(), 1u);
    EXPECT_TRUE(std::filesystem::exists("APPRAISE/00012001 item 1 photo 10.jpg"));
    EXPECT_TRUE(loadPhotos("00099001").empty());
}

TEST(ItemPhotosTest, PrintedInARowAfterTheirItemsValue) {
    QTextDocument text;
    text.setPlainText(QStringLiteral("12-9-26\nItem number 1 of 2 items:\nOne ring\n   Replacement Value:  10.00\n"
                                     "Item number 2 of 2 items:\nOne watch\n   Replacement Value:  20.00\nSigned."));
    text.setTextWidth(600);
    const auto printed = withPhotos(text, {{2, {filled(400, 100, Qt::red), filled(100, 400, Qt::blue)}}}, 192);
    // The text as it was, with one row of pictures after item 2's value and before the rest.
    EXPECT_EQ(printed->textWidth(), 600);
    std::vector<QString> blocks;
    for (QTextBlock b = printed->begin(); b.isValid(); b = b.next()) blocks.push_back(b.text());
    ASSERT_EQ(blocks.size(), 9u);
    EXPECT_EQ(blocks[6], QStringLiteral("   Replacement Value:  20.00"));
    EXPECT_EQ(blocks[8], QStringLiteral("Signed."));
    std::vector<QTextImageFormat> images;
    for (auto it = printed->findBlockByNumber(7).begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat()) images.push_back(it.fragment().charFormat().toImageFormat());
    ASSERT_EQ(images.size(), 2u);
    // Side by side within the width, no higher than asked, each as it is shaped.
    EXPECT_LE(images[0].width() + images[1].width(), 600);
    EXPECT_LE(images[1].height(), 192.0);
    EXPECT_DOUBLE_EQ(images[0].width() / images[0].height(), 4.0);
    EXPECT_DOUBLE_EQ(images[1].height() / images[1].width(), 4.0);
    // No photos: the copy is the text.
    EXPECT_EQ(withPhotos(text, {}, 192)->toPlainText(), text.toPlainText());
}
