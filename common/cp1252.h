#pragma once
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

namespace common {

// The one converter between the files' bytes (Windows-1252, one byte a character) and the
// window's text. Every byte maps to one character and back; the five bytes the code page
// leaves undefined map to the control characters of the same value.
QString fromAnsi(std::string_view bytes);
// Characters outside the code page become "?" (one for each character, a pair of surrogates
// being one character).
std::string toAnsi(const QString& text);

// The characters of a text the code page cannot hold, each once, in the order they first come.
QStringList charactersOutsideCodePage(const QString& text);

} // namespace common
