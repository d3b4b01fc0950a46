// What Qt's PDF engine costs for a report's lines, without the posting: N lines of a charged
// account's width in "Courier New" 10 point, 58 to a page, into a PDF file, drawn once with
// drawText and once with glyph runs made ready beforehand (no shaping while drawing).
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
double printLines(const QString& file, int lines, bool glyphRuns) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setFullPage(true);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10);
    std::vector<QString> text;
    for (int i = 0; i < lines; ++i)
        text.push_back(QStringLiteral("SMITH               JOHN                         %1.%2")
                           .arg(10 + i % 90)
                           .arg(i % 100, 2, 10, QChar('0')));
    const QRawFont raw = QRawFont::fromFont(font);
    std::vector<QGlyphRun> runs;
    if (glyphRuns)
        for (const QString& t : text) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(t);
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
            QList<QPointF> positions;
            double x = 0;
            for (const QPointF& a : advances) {
                positions.push_back(QPointF(x, 0));
                x += a.x();
            }
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            runs.push_back(run);
        }
    QElapsedTimer timer;
    timer.start();
    QPainter painter(&printer);
    painter.setFont(font);
    const double height = QFontMetricsF(font, &printer).height();
    double y = 300;
    for (int i = 0; i < lines; ++i) {
        if (i > 0 && i % 58 == 0) {
            printer.newPage();
            y = 300;
        }
        if (glyphRuns) painter.drawGlyphRun(QPointF(300, y), runs[static_cast<size_t>(i)]);
        else painter.drawText(QPointF(300, y), text[static_cast<size_t>(i)]);
        y += height;
    }
    painter.end();
    return timer.elapsed() / 1000.0;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 44000;
    QTemporaryDir dir;
    for (int round = 0; round < 2; ++round) {
        const double text = printLines(dir.filePath(QStringLiteral("text.pdf")), lines, false);
        const double glyphs = printLines(dir.filePath(QStringLiteral("glyphs.pdf")), lines, true);
        std::printf("%d lines: drawText %.3f s (%.1f us a line), glyph runs %.3f s (%.1f us a line)\n", lines, text,
                    text * 1e6 / lines, glyphs, glyphs * 1e6 / lines);
    }
    return 0;
}
