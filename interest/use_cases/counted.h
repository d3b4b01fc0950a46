#pragma once
#include <QString>

namespace interest {

// "1 account", "2 accounts"
inline QString counted(int n, const QString& thing) {
    return QStringLiteral("%1 %2%3").arg(n).arg(thing, n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace interest
