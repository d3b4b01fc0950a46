#include "appraise/use_cases/item_photos.h"

#include "common/env.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <memory>

namespace appraise {

using namespace common;

QImage readPhoto(const QString& path) {
    // A picture may be anywhere the user keeps one: its path as the system spells it, not a name
    // of the store's. A photo kept beside an appraisal is found by the store's name.
    const bool storeName = !QFileInfo(path).isAbsolute() && fileExists(path.toStdString());
    const std::string where = storeName ? resolveName(path.toStdString()) : path.toStdString();
    Env& env = Env::current();
    const PathInfo info = env.info(where);
    if (!info.exists || info.folder) throw RunError(err::FileNotFound, path.toStdString());
    QByteArray bytes(static_cast<qsizetype>(info.size), '\0');
    {
        const auto file = env.open(where, false, FileLock::Shared, path.toStdString());
        bytes.resize(static_cast<qsizetype>(file->readAt(0, bytes.data(), static_cast<size_t>(bytes.size()))));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "png")
        throw RunError(err::PathFileAccess, path.toStdString() + " is no JPEG or PNG picture");
    QImage image = reader.read();
    if (image.isNull())
        throw RunError(err::PathFileAccess, path.toStdString() + ": " + reader.errorString().toStdString());
    if (std::max(image.width(), image.height()) > maxPhotoSide)
        image = image.scaled(maxPhotoSide, maxPhotoSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
}

std::string photoFileName(const std::string& number, int item, int k) {
    return "appraise\\" + number + " item " + std::to_string(item) + " photo " + std::to_string(k) + ".jpg";
}

ItemPhotos loadPhotos(const std::string& number) {
    ItemPhotos photos;
    static const QRegularExpression name(QStringLiteral("^\\d{8} item (\\d+) photo (\\d+)\\.jpg$"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::map<int, std::map<int, std::string>> files;
    for (const std::string& f : listMatching("appraise\\" + number + " item * photo *.jpg")) {
        const auto m = name.match(QString::fromStdString(f));
        if (m.hasMatch()) files[m.captured(1).toInt()][m.captured(2).toInt()] = f;
    }
    for (const auto& [item, byNumber] : files)
        for (const auto& [k, f] : byNumber) {
            try {
                photos[item].push_back(readPhoto(QString::fromStdString("appraise\\" + f)));
            } catch (const RunError&) {
                // A photo that cannot be read now is not shown; its file stays as it is.
            }
        }
    return photos;
}

void keepPhotos(const std::string& number, const ItemPhotos& photos) {
    for (const auto& [item, images] : photos)
        for (size_t i = 0; i < images.size(); ++i) {
            const std::string file = photoFileName(number, item, static_cast<int>(i + 1));
            if (fileExists(file)) continue;
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(90);
            if (!writer.write(images[i]))
                throw RunError(err::DeviceIO, file + ": " + writer.errorString().toStdString());
            Env::current().replace(resolveName(file), std::string_view(bytes.constData(), bytes.size()),
                                   temporarySuffix, file);
        }
}

std::unique_ptr<QTextDocument> withPhotos(const QTextDocument& text, const ItemPhotos& photos, double maxHeightPx) {
    std::unique_ptr<QTextDocument> doc(text.clone());
    doc->setDefaultFont(text.defaultFont());
    doc->setTextWidth(text.textWidth());
    doc->setDocumentMargin(text.documentMargin());
    const double width = std::max(1.0, text.textWidth() - 2 * text.documentMargin() - 8);
    // From the last item back: what is inserted after an item leaves the text before it, and the
    // positions found in it, as they were.
    const QString plain = doc->toPlainText();
    for (auto it = photos.rbegin(); it != photos.rend(); ++it) {
        const auto& [item, images] = *it;
        if (images.empty()) continue;
        const int header = plain.indexOf(QRegularExpression(QStringLiteral("Item number ?%1 of").arg(item)));
        if (header < 0) continue;
        int value = plain.indexOf(QStringLiteral("Replacement Value:"), header);
        const int nextItem = plain.indexOf(QStringLiteral("Item number"), header + 1);
        if (value < 0 || (nextItem >= 0 && value > nextItem)) value = nextItem >= 0 ? nextItem - 1 : plain.size() - 1;
        int end = plain.indexOf('\n', value);
        if (end < 0) end = plain.size();
        QTextCursor cursor(doc.get());
        cursor.setPosition(end);
        cursor.insertBlock();
        // The item's photos side by side, as large as the row lets them be.
        const double each = width / static_cast<double>(images.size()) - 8;
        for (size_t i = 0; i < images.size(); ++i) {
            const QImage& img = images[i];
            const double scale = std::min(each / img.width(), maxHeightPx / img.height());
            const QString name = QStringLiteral("photo:%1/%2").arg(item).arg(i + 1);
            doc->addResource(QTextDocument::ImageResource, QUrl(name), img);
            QTextImageFormat f;
            f.setName(name);
            f.setWidth(img.width() * scale);
            f.setHeight(img.height() * scale);
            cursor.insertImage(f);
            if (i + 1 < images.size()) cursor.insertText(QStringLiteral(" "));
        }
    }
    return doc;
}

} // namespace appraise
