#pragma once
#include "platform/printer.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// Printing through Qt: to the system's default printer, or to a PDF file when none is
// installed (or when asked for one). Page geometry of a PDF can be given in twips.
class QtPrinter : public Printer {
  public:
    // The system printer, or when there is none, PDF files named after `pdfStem` in the
    // current folder (the user is told through `onPdf` where each went).
    explicit QtPrinter(QString pdfStem, std::function<void(const QString&)> onPdf = {});
    // Always to this PDF file, on paper of the given geometry, titled and signed as `info` says
    // (Qt's PDF writer names the maker as the file's creator).
    QtPrinter(const QString& pdfFile, const common::PageGeometry& geometry, const DocumentInfo& info = {});
    ~QtPrinter() override;

    bool installed() const override;
    common::PageGeometry geometry() const override;
    QString destination() const override;
    void previewNext() override { preview_ = true; }
    int currentX() const override { return x_; }
    int currentY() const override { return y_; }
    void setCurrentX(int x) override { x_ = x; }
    void setCurrentY(int y) override { y_ = y; }
    void setFont(const FontChoice& font) override;
    void printLine(const QString& text) override;
    void circle(int x, int y, int radius) override;
    void picture(int x, int y, const QImage& image) override;
    void newPage() override;
    void endDoc() override;
    void killDoc() override;
    int renderText(const QTextDocument& text, int first, int end, const QRect& rect) override;

    int lineHeight() const override;
    int lineHeightOf(const FontChoice& font) const override;
    // Selects another system printer (the print-setup dialog).
    QPrinter& qprinter() { return *printer_; }

  private:
    void begin();
    double px(int twips) const;
    static QFont printerFont(const FontChoice& font);

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    bool system_ = false;
    QString pdfStem_;
    QString pdfFile_;
    std::function<void(const QString&)> onPdf_;
    common::PageGeometry geometry_;
    FontChoice font_{"Arial", 10, false, false};
    struct Metrics {
        QFont font;
        double ascent = 0;
        int lineHeight = 0;
    };
    const Metrics& metrics() const;
    mutable std::optional<Metrics> metrics_;
    // A document for the screen: its lines, kept until its end shows them.
    struct PreviewLine {
        QFont font;
        QPointF at;
        QString text; // empty with newPage
        bool newPage = false;
    };
    bool preview_ = false;
    std::vector<PreviewLine> previewLines_;
    void showPreview();
    int x_ = 0, y_ = 0;
};

// Documents kept as PDF files, through Qt's PDF writer.
class QtDocumentFiles : public DocumentFiles {
  public:
    std::unique_ptr<Printer> toFile(const QString& path, const common::PageGeometry& page,
                                    const DocumentInfo& info) override {
        return std::make_unique<QtPrinter>(path, page, info);
    }
};

} // namespace platform
