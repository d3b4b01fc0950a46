#pragma once
#include "platform/dialogs.h"

#include <QImage>
#include <QRect>
#include <QString>

class QTextEdit;

namespace platform {

// Sizes of the current printer's paper, in twips (1/1440 inch). The offsets are where the
// printable area starts on the paper.
struct PageGeometry {
    int pageWidth = 12240;
    int pageHeight = 15840;
    int offsetLeft = 360;
    int offsetTop = 360;
    int printableWidth = 12240 - 720;
    int printableHeight = 15840 - 720;
};

// The printer as the programs use it. Positions are twips on the printable area of the page.
// A document starts with the first output and lasts until endDoc (printed) or killDoc
// (discarded).
class Printer {
  public:
    virtual ~Printer() = default;

    virtual bool installed() const = 0;
    virtual PageGeometry geometry() const = 0;

    virtual int currentX() const = 0;
    virtual int currentY() const = 0;
    virtual void setCurrentX(int x) = 0;
    virtual void setCurrentY(int y) = 0;
    virtual void setFont(const FontChoice& font) = 0;
    // The height of one line of the current font.
    virtual int lineHeight() const = 0;
    // Prints the text at the current position, then moves to the start of the next line of
    // the font (a new page when the next line would not fit).
    virtual void printLine(const QString& text) = 0;
    virtual void circle(int x, int y, int radius) = 0;
    // The picture at its natural size (15 twips a pixel) with its top left corner at x, y.
    virtual void picture(int x, int y, const QImage& image) = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    virtual void killDoc() = 0;
    virtual bool inDocument() const = 0;

    // Renders the text area's lines, from the one holding character `first`, into the
    // rectangle of the current page, keeping the area's own line breaks. Returns the first
    // character not printed (the text's length when everything fitted).
    virtual int renderText(QTextEdit& area, int first, const QRect& rect) = 0;
};

// Converting twips to the screen's logical pixels and back.
int twipsToPixels(int twips, double dpi = 96.0);
int pixelsToTwips(int pixels, double dpi = 96.0);

} // namespace platform
