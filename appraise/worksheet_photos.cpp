// The photos of the worksheet's items: attached from a file or dropped on the window, shown
// small beside the item, kept beside the appraisal when it is saved.
#include "appraise/worksheet_window.h"

#include "common/cp1252.h"
#include "common/run_error.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace appraise {

using namespace common;
using namespace platform;

namespace {
bool isPictureFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg") || suffix == QStringLiteral("png");
}
} // namespace

void WorksheetWindow::connectPhotoHandlers() {
    setAcceptDrops(true);
    connect(addPictureButton, &QPushButton::clicked, this, [this] { run([this] { addPicture(); }); });
    connect(removePictureButton, &QPushButton::clicked, this, [this] { run([this] { removePicture(); }); });
    connect(itemnumber, &QLineEdit::textChanged, this, [this] { run([this] { showItemPhotos(); }); });
    showItemPhotos();
}

int16_t WorksheetWindow::photoSlot() const {
    bool ok = false;
    const int n = itemnumber->text().trimmed().toInt(&ok);
    return ok && n >= 1 && n <= maxItem ? static_cast<int16_t>(n) : int16_t(0);
}

void WorksheetWindow::showItemPhotos() {
    const int16_t slot = photoSlot();
    const auto it = slotPhotos_.find(slot);
    const size_t count = it == slotPhotos_.end() ? 0 : it->second.size();
    if (count == 0) {
        itemPhoto->clear();
        itemPhoto->setText(QStringLiteral("none"));
        photoNote->setText(QString());
    } else {
        const QImage& first = it->second.front();
        const qreal ratio = devicePixelRatioF();
        QPixmap small =
            QPixmap::fromImage(first.scaled(itemPhoto->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        small.setDevicePixelRatio(ratio);
        itemPhoto->setPixmap(small);
        photoNote->setText(count == 1 ? QStringLiteral("Item %1: 1 picture").arg(slot)
                                      : QStringLiteral("Item %1: %2 pictures").arg(slot).arg(count));
    }
    removePictureButton->setEnabled(count > 0);
}

void WorksheetWindow::addPicture() {
    const int16_t slot = photoSlot();
    if (slot == 0) return;
    const auto path = p.pictures.choosePicture(QStringLiteral("A picture of item %1").arg(slot));
    if (!path) return;
    attachPicture(*path);
}

void WorksheetWindow::attachPicture(const QString& path) {
    const int16_t slot = photoSlot();
    if (slot == 0) return;
    try {
        slotPhotos_[slot].push_back(readPhoto(path));
    } catch (const RunError& e) {
        const std::string why = e.detail().empty() ? e.description() : e.detail();
        p.messages.show(QStringLiteral("The picture could not be read (%1). Nothing was attached.")
                            .arg(QDir::toNativeSeparators(QString::fromStdString(why))),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    showItemPhotos();
}

void WorksheetWindow::removePicture() {
    const int16_t slot = photoSlot();
    auto it = slotPhotos_.find(slot);
    if (it == slotPhotos_.end() || it->second.empty()) return;
    if (p.messages.show(QStringLiteral("Remove the last picture of item %1 from the worksheet? The picture's own file "
                                       "and the appraisals already saved keep it.")
                            .arg(slot),
                        {}, Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return;
    it->second.pop_back();
    if (it->second.empty()) slotPhotos_.erase(it);
    showItemPhotos();
}

ItemPhotos WorksheetWindow::photosOf(const std::vector<int16_t>& items, bool numberedInOrder) const {
    ItemPhotos photos;
    for (size_t i = 0; i < items.size(); ++i)
        if (const auto it = slotPhotos_.find(items[i]); it != slotPhotos_.end() && !it->second.empty())
            photos[numberedInOrder ? static_cast<int>(i + 1) : items[i]] = it->second;
    return photos;
}

void WorksheetWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Pictures from the file manager, while the worksheet's items are in front.
    if (!textArea->isHidden() || !registerPanel->isHidden() || !event->mimeData()->hasUrls()) return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && isPictureFile(url.toLocalFile())) {
            event->acceptProposedAction();
            return;
        }
}

void WorksheetWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    run([this, urls] {
        for (const QUrl& url : urls)
            if (url.isLocalFile() && isPictureFile(url.toLocalFile())) attachPicture(url.toLocalFile());
    });
}

} // namespace appraise
