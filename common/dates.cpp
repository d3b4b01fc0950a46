#include "dates.h"

#include <cstdio>

std::string dateText(QDate d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", d.month(), d.day(), d.year());
    return buf;
}

std::string currentDateText(const Clock& clock) { return dateText(clock.today()); }

QDate parseDateText(const std::string& text) {
    return QDate::fromString(QString::fromStdString(text), QStringLiteral("MM-dd-yyyy"));
}
