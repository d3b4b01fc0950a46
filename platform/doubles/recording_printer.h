#pragma once
#include "platform/doubles/transcript.h"
#include "platform/printer.h"

namespace platform {

// A printer that writes every request into the transcript and hands it on to another
// printer (the real printing code, into a PDF).
class RecordingPrinter : public Printer {
  public:
    RecordingPrinter(Printer& inner, Transcript& transcript, bool installed, const common::PageGeometry& g)
        : inner_(inner), t_(transcript), installed_(installed), geometry_(g) {}

    bool installed() const override { return installed_; }
    // The script's printer, whatever the inner one did with the pages.
    QString destination() const override { return QStringLiteral("printed on the scripted printer"); }
    // The preview's pages are recorded as printed pages.
    void previewNext() override;
    common::PageGeometry geometry() const override { return geometry_; }
    int currentX() const override { return inner_.currentX(); }
    int currentY() const override { return inner_.currentY(); }
    void setCurrentX(int x) override { inner_.setCurrentX(x); }
    void setCurrentY(int y) override { inner_.setCurrentY(y); }
    void setFont(const FontChoice& font) override;
    int lineHeight() const override { return inner_.lineHeight(); }
    int lineHeightOf(const FontChoice& font) const override { return inner_.lineHeightOf(font); }
    void printLine(const QString& text) override;
    void circle(int x, int y, int radius) override;
    void picture(int x, int y, const QImage& image) override;
    void newPage() override;
    void endDoc() override;
    void killDoc() override;
    int renderText(const QTextDocument& text, int first, int end, const QRect& rect) override;

  private:
    void started();
    Printer& inner_;
    Transcript& t_;
    bool installed_;
    common::PageGeometry geometry_;
    int page_ = 0;
};

} // namespace platform
