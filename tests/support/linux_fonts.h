#pragma once
#include <QFont>
#include <QGuiApplication>

namespace testsupport {

// The tests measure text with the fonts a Debian machine has (Liberation and DejaVu), found
// through fontconfig's aliases. On Windows the offscreen platform reads its fonts from a folder
// without aliases: the test runs give it those same fonts (VELMARON_WINE_FONTS) and these are
// the aliases, so that text measures alike on both. Call once the application exists.
inline void useLinuxFontAliases() {
#ifdef _WIN32
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) return;
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Monospace"), QStringLiteral("DejaVu Sans Mono"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    QGuiApplication::setFont(font);
#endif
}

} // namespace testsupport
