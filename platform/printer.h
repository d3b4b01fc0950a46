#pragma once
#include "common/page_geometry.h"
#include "platform/dialogs.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class QTextDocument;
class QTextLine;

namespace platform {

// The printer as the programs use it. Positions are twips on the printable area of the page.
// A document starts with the first output and lasts until endDoc (printed) or killDoc
// (discarded).
class Printer {
  public:
    virtual ~Printer() = default;

    virtual bool installed() const = 0;
    // Where the last document went, in words: "printed on NAME" or "saved as FILE".
    virtual QString destination() const = 0;
    virtual common::PageGeometry geometry() const = 0;

    virtual int currentX() const = 0;
    virtual int currentY() const = 0;
    virtual void setCurrentX(int x) = 0;
    virtual void setCurrentY(int y) = 0;
    virtual void setFont(const FontChoice& font) = 0;
    // The height of one line of the current font.
    virtual int lineHeight() const = 0;
    // The height of one line of `font`, the current font left as it is.
    virtual int lineHeightOf(const FontChoice& font) const = 0;
    // Prints the text at the current position, then moves to the start of the next line of
    // the font (a new page when the next line would not fit).
    virtual void printLine(const QString& text) = 0;
    virtual void circle(int x, int y, int radius) = 0;
    // The picture at its natural size (15 twips a pixel) with its top left corner at x, y.
    virtual void picture(int x, int y, const QImage& image) = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    // The next document is shown on screen at its end, from where it can be printed, instead of
    // being printed.
    virtual void previewNext() = 0;
    virtual void killDoc() = 0;

    // Renders the document's lines, from the one holding character `first` and before the one
    // that starts at or after `end`, into the rectangle of the current page, keeping the line
    // breaks of the document's own layout (a text area's document wraps as the area shows it).
    // Returns the first character not printed (the text's length when everything fitted).
    virtual int renderText(const QTextDocument& text, int first, int end, const QRect& rect) = 0;
};

// What a document file says of itself: its title, and who made it.
struct DocumentInfo {
    QString title, author;
};

// Printers whose document goes to a file of its own (a PDF kept beside the printed copy).
class DocumentFiles {
  public:
    virtual ~DocumentFiles() = default;
    // A printer writing its document to `path`, on pages of `page`.
    virtual std::unique_ptr<Printer> toFile(const QString& path, const common::PageGeometry& page,
                                            const DocumentInfo& info) = 0;
};

// How much of the document's text, from character `first`, fits in `heightTwips` of paper laid
// out as renderText lays it: the first character that does not fit (`first` when not even one
// line fits, the text's length when all of it fits).
int textFitting(const QTextDocument& text, int first, int heightTwips);

// The logical resolution the document is laid out at: its layout's paint device, else the
// screen's.
double layoutDpi(const QTextDocument& text);

// Walks the document's lines from the one holding character `first` while they fit in `height`
// of layout pixels (the first line always, when `atLeastOne`) and start before `end`, handing
// each to `each` with the offset that puts the first one at the top and the line's first
// character; `each` returning false ends the walk after that line. Returns the first character
// not walked (the text's length when everything fitted).
int walkLinesFitting(const QTextDocument& text, int first, int end, double height, bool atLeastOne,
                     const std::function<bool(const QTextLine&, QPointF, int)>& each);

// Where the document's lines that hold text start (empty lines, as of a blank paragraph, are not
// counted): from the one holding character `first`, before the one starting at `end`, at most
// `most` of them.
std::vector<int> lineStarts(const QTextDocument& text, int first, int end = std::numeric_limits<int>::max(),
                            size_t most = std::numeric_limits<size_t>::max());

// Twips to the screen's logical pixels.
int twipsToPixels(int twips, double dpi = 96.0);

} // namespace platform
