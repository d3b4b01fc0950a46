#include "common/cp1252.h"

namespace common {

namespace {
// 0x80..0x9F; the undefined ones map to themselves.
constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

QString fromAnsi(std::string_view bytes) {
    QString s(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = s.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(high[b - 0x80]) : QChar(static_cast<char16_t>(b));
    }
    return s;
}

namespace {
// The byte of a character, or 0 when the code page has none for it.
char byteOf(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u == 0 ? '\0' : static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (high[i] == u) return static_cast<char>(0x80 + i);
    return 0;
}

bool holds(char16_t u) { return u == 0 || byteOf(u) != 0; }

// The length of the character at i: 2 for a pair of surrogates.
qsizetype lengthAt(const QString& text, qsizetype i) {
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}
} // namespace

std::string toAnsi(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); i += lengthAt(text, i)) {
        const char16_t u = text[i].unicode();
        out += holds(u) && lengthAt(text, i) == 1 ? byteOf(u) : '?';
    }
    return out;
}

QStringList charactersOutsideCodePage(const QString& text) {
    QStringList found;
    for (qsizetype i = 0; i < text.size(); i += lengthAt(text, i)) {
        const qsizetype n = lengthAt(text, i);
        if (n == 1 && holds(text[i].unicode())) continue;
        const QString c = text.mid(i, n);
        if (!found.contains(c)) found << c;
    }
    return found;
}

} // namespace common
