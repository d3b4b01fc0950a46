#pragma once
#include <QString>
#include <functional>
#include <string>

namespace platform {

// The scripted session's transcript: one event a line.
class Transcript {
  public:
    explicit Transcript(std::function<void(const std::string&)> sink) : sink_(std::move(sink)) {}
    void line(const QString& text) { sink_(text.toStdString()); }

  private:
    std::function<void(const std::string&)> sink_;
};

// A text in double quotes with \" \\ \r \n \t escaped.
QString quoted(const QString& text);
// A number as the transcript writes it: no trailing zeros ("8", "10.5").
QString numberText(double value);

} // namespace platform
