#pragma once
#include <QDate>
#include <QTime>
#include <string>

namespace common {

// The clock the programs read the current date from; injected so that tests can set it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    // The time of day, to the minute where it is shown.
    virtual QTime now() const = 0;
};

class SystemClock : public Clock {
  public:
    QDate today() const override { return QDate::currentDate(); }
    QTime now() const override { return QTime::currentTime(); }
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(QDate d, QTime t = QTime(9, 0)) : date_(d), time_(t) {}
    QDate today() const override { return date_; }
    QTime now() const override { return time_; }
    void set(QDate d) { date_ = d; }
    void set(QTime t) { time_ = t; }

  private:
    QDate date_;
    QTime time_;
};

// The classic Date$: "mm-dd-yyyy".
std::string dateText(QDate d);
// A date as the store writes it, in its records and for naming its month files: month-day-year
// with the month and day without leading zeros and the year in two digits ("12-9-26",
// "1-5-05", "1-1-00").
std::string shortDateText(QDate d);
// The current date of a clock as "mm-dd-yyyy".
std::string currentDateText(const Clock& clock);

// A month-day-year text with exactly two dashes, each part taken as its numeric value rounded
// to a whole number: "7-4-98" for "07-04-98". "ERROR" unless the month is 1..12, the day
// 1..31 and the year 0..99 (two digits, any century).
std::string normaliseDashedDate(const std::string& s);

} // namespace common
