#pragma once
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTextDocument;

namespace appraise {

// The photos of an appraisal's items, by the item's number in its wording ("Item number 2").
using ItemPhotos = std::map<int, std::vector<QImage>>;

// A photo as it is kept: turned upright as the camera recorded, and no larger than
// `maxPhotoSide` pixels on its longer side. A file that is no JPEG or PNG picture is error 53
// for a missing file, 75 for one that cannot be read as a picture (its detail says why).
QImage readPhoto(const QString& path);
inline constexpr int maxPhotoSide = 1600;

// Where photo `k` (from 1) of item `item` of appraisal `number` is kept, beside the appraisal:
// "appraise\00012001 item 2 photo 1.jpg".
std::string photoFileName(const std::string& number, int item, int k);

// The photos kept for an appraisal, in order; a file that cannot be read is left out.
ItemPhotos loadPhotos(const std::string& number);
// Keeps the appraisal's photos: each one not kept yet is written whole under its name (never half
// written); a photo already kept is neither written again nor removed, so a Save never loses one.
// A failed write is a RunError.
void keepPhotos(const std::string& number, const ItemPhotos& photos);

// The print of a text with its items' photos: a copy of `text`, laid out as it is, with each
// item's photos in a row of their own after the line of the item's replacement value, no wider
// than the text and at most `maxHeightPx` layout pixels high.
std::unique_ptr<QTextDocument> withPhotos(const QTextDocument& text, const ItemPhotos& photos, double maxHeightPx);

} // namespace appraise
