#include "platform/qt/qt_printer.h"

#include "common/run_error.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>

namespace platform {

using namespace common;

namespace {
int pointsToTwips(double points) { return static_cast<int>(std::lround(points * 20.0)); }
} // namespace

QtPrinter::QtPrinter(QString pdfStem, std::function<void(const QString&)> onPdf)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), pdfStem_(std::move(pdfStem)),
      onPdf_(std::move(onPdf)) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    system_ = !info.isNull();
    if (system_) {
        printer_->setPrinterName(info.printerName());
    } else {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::Letter));
        printer_->setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    printer_->setFullPage(true);
}

QtPrinter::QtPrinter(const QString& pdfFile, const PageGeometry& geometry, const DocumentInfo& info)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)), pdfFile_(pdfFile), geometry_(geometry) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(pdfFile);
    if (!info.title.isEmpty()) printer_->setDocName(info.title);
    if (!info.author.isEmpty()) printer_->setCreator(info.author);
    printer_->setPageSize(QPageSize(QSizeF(geometry.pageWidth / 1440.0, geometry.pageHeight / 1440.0), QPageSize::Inch,
                                    QString(), QPageSize::ExactMatch));
    printer_->setPageMargins(QMarginsF(0, 0, 0, 0));
    printer_->setFullPage(true);
}

QtPrinter::~QtPrinter() {
    if (painter_) killDoc();
}

bool QtPrinter::installed() const { return system_; }

QString QtPrinter::destination() const {
    if (system_) return QStringLiteral("printed on %1").arg(printer_->printerName());
    return QStringLiteral("saved as %1").arg(QFileInfo(printer_->outputFileName()).fileName());
}

PageGeometry QtPrinter::geometry() const {
    if (!system_) return geometry_;
    const QPageLayout layout = printer_->pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Point);
    // The driver's printable area, whatever margins are set for drawing.
    const QMarginsF hw = printer_->pageLayout().minimumMargins();
    PageGeometry g;
    g.pageWidth = pointsToTwips(paper.width());
    g.pageHeight = pointsToTwips(paper.height());
    g.offsetLeft = pointsToTwips(hw.left());
    g.offsetTop = pointsToTwips(hw.top());
    g.printableWidth = g.pageWidth - g.offsetLeft - pointsToTwips(hw.right());
    g.printableHeight = g.pageHeight - g.offsetTop - pointsToTwips(hw.bottom());
    return g;
}

double QtPrinter::px(int twips) const { return twips * printer_->resolution() / 1440.0; }

QFont QtPrinter::printerFont(const FontChoice& font) {
    QFont f(font.name);
    // A typewriter face (the columns of a report) stays one on a machine that lacks it: the
    // system's fixed font, else the first fixed-pitch family it has.
    if (font.name.contains(QLatin1String("Courier"), Qt::CaseInsensitive) && !QFontInfo(f).fixedPitch()) {
        QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        if (!QFontDatabase::isFixedPitch(fixed)) {
            const QStringList families = QFontDatabase::families();
            const auto it = std::find_if(families.begin(), families.end(),
                                         [](const QString& family) { return QFontDatabase::isFixedPitch(family); });
            if (it != families.end()) fixed = *it;
        }
        f.setFamily(fixed);
    }
    f.setPointSizeF(font.size > 0 ? font.size : 10);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

void QtPrinter::begin() {
    if (painter_) return;
    if (!system_ && pdfFile_.isEmpty()) {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QString name = pdfStem_ + "-" + stamp + ".pdf";
        for (int n = 2; QFile::exists(name); ++n) name = pdfStem_ + "-" + stamp + "-" + QString::number(n) + ".pdf";
        printer_->setOutputFileName(name);
    }
    metrics_.reset(); // a new document may go to another printer
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        throw RunError(err::PrinterError, "the printer could not be started");
    }
    painter_->setPen(QPen(Qt::black, 0));
    painter_->setBrush(Qt::NoBrush);
}

void QtPrinter::setFont(const FontChoice& font) {
    if (!(font == font_)) metrics_.reset();
    font_ = font;
}

const QtPrinter::Metrics& QtPrinter::metrics() const {
    // The font and its metrics are made once for each font set, not for every line.
    if (!metrics_) {
        const QFont f = printerFont(font_);
        const QFontMetricsF fm(f, printer_.get());
        metrics_ =
            Metrics{f, fm.ascent(), static_cast<int>(std::lround(fm.height() * 1440.0 / printer_->resolution()))};
    }
    return *metrics_;
}

int QtPrinter::lineHeight() const { return metrics().lineHeight; }

int QtPrinter::lineHeightOf(const FontChoice& font) const {
    if (font == font_) return lineHeight();
    const QFontMetricsF fm(printerFont(font), printer_.get());
    return static_cast<int>(std::lround(fm.height() * 1440.0 / printer_->resolution()));
}

void QtPrinter::printLine(const QString& text) {
    if (!preview_) begin();
    const PageGeometry g = geometry();
    const int h = lineHeight();
    if (y_ > 0 && y_ + h > g.printableHeight) {
        const int x = x_;
        newPage();
        x_ = x;
    }
    const Metrics& m = metrics();
    const QPointF at(px(x_ + g.offsetLeft), px(y_ + g.offsetTop) + m.ascent);
    if (preview_) {
        previewLines_.push_back(PreviewLine{m.font, at, text, false});
    } else {
        if (painter_->font() != m.font) painter_->setFont(m.font);
        painter_->drawText(at, text);
    }
    y_ += h;
    x_ = 0;
}

void QtPrinter::circle(int x, int y, int radius) {
    begin();
    const PageGeometry g = geometry();
    painter_->drawEllipse(QPointF(px(x + g.offsetLeft), px(y + g.offsetTop)), px(radius), px(radius));
}

void QtPrinter::picture(int x, int y, const QImage& image) {
    if (image.isNull()) return;
    begin();
    const PageGeometry g = geometry();
    painter_->drawImage(
        QRectF(px(x + g.offsetLeft), px(y + g.offsetTop), px(image.width() * 15), px(image.height() * 15)), image);
}

void QtPrinter::newPage() {
    if (preview_) {
        previewLines_.push_back(PreviewLine{{}, {}, {}, true});
        x_ = 0;
        y_ = 0;
        return;
    }
    begin();
    printer_->newPage();
    x_ = 0;
    y_ = 0;
}

void QtPrinter::showPreview() {
    // On screen, page by page; the dialog's print button prints the same pages.
    QPrintPreviewDialog dialog(printer_.get());
    dialog.setWindowTitle(QStringLiteral("Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [this](QPrinter* printer) {
        QPainter painter(printer);
        for (const PreviewLine& line : previewLines_) {
            if (line.newPage) {
                printer->newPage();
                continue;
            }
            painter.setFont(line.font);
            painter.drawText(line.at, line.text);
        }
    });
    // Large enough for its toolbar's every button (the print button among them) and a page
    // read at the width of the window, not shrunk to fit the whole page in.
    if (QScreen* screen = QGuiApplication::primaryScreen()) dialog.resize(screen->availableGeometry().size() * 0.85);
    // The dialog's own "Fit width", so that its toolbar shows the zoom chosen.
    bool fitted = false;
    for (QAction* a : dialog.findChildren<QAction*>())
        if (!fitted && a->isCheckable() && a->text() == QPrintPreviewDialog::tr("Fit width")) {
            a->trigger();
            fitted = true;
        }
    if (auto* pages = dialog.findChild<QPrintPreviewWidget*>(); pages && !fitted)
        pages->setZoomMode(QPrintPreviewWidget::FitToWidth);
    dialog.exec();
}

void QtPrinter::endDoc() {
    if (preview_) {
        preview_ = false;
        x_ = y_ = 0;
        showPreview();
        previewLines_.clear();
        return;
    }
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    x_ = y_ = 0;
    if (!system_ && pdfFile_.isEmpty() && onPdf_) onPdf_(printer_->outputFileName());
}

void QtPrinter::killDoc() {
    if (preview_) {
        preview_ = false;
        previewLines_.clear();
        x_ = y_ = 0;
        return;
    }
    if (!painter_) return;
    if (system_) printer_->abort();
    painter_->end();
    painter_.reset();
    x_ = y_ = 0;
    if (!system_ && pdfFile_.isEmpty()) QFile::remove(printer_->outputFileName());
}

int QtPrinter::renderText(const QTextDocument& text, int first, int end, const QRect& rect) {
    begin();
    const PageGeometry g = geometry();
    const double screenDpi = layoutDpi(text);
    const double scale = printer_->resolution() / screenDpi;
    painter_->save();
    painter_->translate(px(rect.left() + g.offsetLeft), px(rect.top() + g.offsetTop));
    painter_->scale(scale, scale);
    const int next = walkLinesFitting(text, first, end, rect.height() * screenDpi / 1440.0, true,
                                      [this](const QTextLine& line, QPointF at, int) {
                                          line.draw(painter_.get(), at);
                                          return true;
                                      });
    painter_->restore();
    return next;
}

} // namespace platform
