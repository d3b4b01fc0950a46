#include "platform/doubles/transcript.h"

namespace platform {

QString quoted(const QString& text) {
    QString s = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': s += QStringLiteral("\\\""); break;
        case '\\': s += QStringLiteral("\\\\"); break;
        case '\r': s += QStringLiteral("\\r"); break;
        case '\n': s += QStringLiteral("\\n"); break;
        case '\t': s += QStringLiteral("\\t"); break;
        default: s += c;
        }
    }
    return s + '"';
}

QString numberText(double value) { return QString::number(value, 'g', 15); }

} // namespace platform
