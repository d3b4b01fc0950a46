#include "platform/qt/store_folder.h"

#include "common/file_names.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSettings>

namespace platform {

namespace {
bool askStoreFolder(const QString& program);
} // namespace

QString missingStoreFiles() {
    QStringList missing;
    for (const char* f : {"cust.dat", "Cust.ptn"})
        if (!common::fileExists(f)) missing << QString::fromLatin1(f);
    return missing.join(QStringLiteral(" and "));
}

bool settleStoreFolder(const QString& program) {
    if (missingStoreFiles().isEmpty()) return true;
    // The boxes asked here are no reason to end the program when they close.
    const bool quits = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const bool settled = askStoreFolder(program);
    QGuiApplication::setQuitOnLastWindowClosed(quits);
    return settled;
}

namespace {
bool askStoreFolder(const QString& program) {
    QSettings settings(QStringLiteral("Velmaron"), QStringLiteral("Store"));
    const QString remembered = settings.value(QStringLiteral("folder")).toString();
    if (!remembered.isEmpty() && QDir::setCurrent(remembered) && missingStoreFiles().isEmpty()) return true;
    // From the folder the program was started in (the suite's, from its Start-menu entry), or the
    // one remembered when it still exists.
    QString start = !remembered.isEmpty() && QDir(remembered).exists() ? remembered : QDir::currentPath();
    for (;;) {
        // Qt's own dialog: the system's folder dialog on Windows shows a bare "Select Folder" in
        // place of the question.
        const QString folder = QDir::toNativeSeparators(
            QFileDialog::getExistingDirectory(nullptr, QStringLiteral("%1: where is the store's folder?").arg(program),
                                              start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
        if (folder.isEmpty()) return false;
        if (QDir::setCurrent(folder)) {
            const QString missing = missingStoreFiles();
            if (missing.isEmpty()) {
                // As the system writes paths: C:\Stores\Demo on Windows.
                settings.setValue(QStringLiteral("folder"), folder);
                return true;
            }
            if (QMessageBox::warning(
                    nullptr, program,
                    QStringLiteral("%1 is not the store's folder: %2 %3 missing there. Choose "
                                   "another folder?")
                        .arg(folder, missing,
                             missing.contains(QStringLiteral(" and ")) ? QStringLiteral("are") : QStringLiteral("is")),
                    QMessageBox::Retry | QMessageBox::Cancel) != QMessageBox::Retry)
                return false;
        }
        start = folder;
    }
}
} // namespace

QIcon programIcon(QChar letter, const QColor& colour) {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(size * 6 / 10);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(letter));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace platform
