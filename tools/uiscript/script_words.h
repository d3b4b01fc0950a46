#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace uiscript {

// Splits a script line into words: blanks separate, a word in double quotes may hold blanks,
// and inside quotes \" \\ \r \n \t are escapes. Nothing when a quote is not closed.
std::optional<QStringList> splitScriptLine(const QString& line);

} // namespace uiscript
