#include "tools/uiscript/script_words.h"

namespace uiscript {

std::optional<QStringList> splitScriptLine(const QString& line) {
    QStringList words;
    QString cur;
    bool inWord = false, inQuote = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuote) {
            if (c == '\\' && i + 1 < line.size()) {
                const QChar n = line[++i];
                switch (n.unicode()) {
                case 'r': cur += '\r'; break;
                case 'n': cur += '\n'; break;
                case 't': cur += '\t'; break;
                default: cur += n;
                }
            } else if (c == '"') {
                inQuote = false;
            } else {
                cur += c;
            }
        } else if (c == '"') {
            inQuote = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words << cur;
            cur.clear();
            inWord = false;
        } else {
            cur += c;
            inWord = true;
        }
    }
    if (inQuote) return std::nullopt;
    if (inWord) words << cur;
    return words;
}

} // namespace uiscript
