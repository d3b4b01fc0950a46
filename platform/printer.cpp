#include "platform/printer.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>
#include <limits>

namespace platform {

int twipsToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

double layoutDpi(const QTextDocument& text) {
    if (const QPaintDevice* device = text.documentLayout()->paintDevice(); device && device->logicalDpiY() > 0)
        return device->logicalDpiY();
    // A text area lays its document out for the screen it is on.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return std::round(screen->logicalDotsPerInchY());
    return 96.0;
}

int walkLinesFitting(const QTextDocument& text, int first, int end, double height, bool atLeastOne,
                     const std::function<bool(const QTextLine&, QPointF, int)>& each) {
    const int length = text.characterCount() - 1;
    QAbstractTextDocumentLayout* layout = text.documentLayout(); // lays the text out when needed
    bool started = false, stop = false;
    double top0 = 0;
    int walked = 0;
    // From the block holding `first`: the blocks before it hold no line to walk.
    for (QTextBlock b = text.findBlock(first); b.isValid(); b = b.next()) {
        QTextLayout* tl = b.layout();
        const QRectF br = layout->blockBoundingRect(b);
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const int lineStart = b.position() + line.textStart();
            const int lineEnd = lineStart + line.textLength();
            if (!started) {
                if (lineEnd <= first && !(lineEnd == lineStart && lineStart == first)) continue;
                started = true;
                top0 = br.top() + line.y();
            }
            const double lineTop = br.top() + line.y() - top0;
            if (stop || (walked > 0 && lineStart >= end)) return lineStart;
            if ((walked > 0 || !atLeastOne) && lineTop + line.height() > height) return lineStart;
            stop = !each(line, QPointF(br.left(), br.top() - top0), lineStart);
            ++walked;
        }
    }
    return length;
}

int textFitting(const QTextDocument& text, int first, int heightTwips) {
    return walkLinesFitting(text, first, text.characterCount(), heightTwips * layoutDpi(text) / 1440.0, false,
                            [](const QTextLine&, QPointF, int) { return true; });
}

std::vector<int> lineStarts(const QTextDocument& text, int first, int end, size_t most) {
    std::vector<int> starts;
    walkLinesFitting(text, first, end, std::numeric_limits<double>::infinity(), true,
                     [&](const QTextLine& line, QPointF, int start) {
                         if (line.textLength() > 0) starts.push_back(start);
                         return starts.size() < most;
                     });
    return starts;
}

} // namespace platform
