#pragma once
#include <QDate>
#include <string>

// The clock the programs read the current date from; injected so that tests can set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDate d) : date_(d) {}
    QDate today() const override { return date_; }
    void set(QDate d) { date_ = d; }

private:
    QDate date_;
};

// The classic Date$: "mm-dd-yyyy".
std::string dateText(QDate d);
// The current date of a clock as "mm-dd-yyyy".
std::string currentDateText(const Clock& clock);
// "MM-DD-YYYY" back into a date; invalid when it is not one.
QDate parseDateText(const std::string& text);
