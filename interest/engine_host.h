#pragma once
#include "common/cp1252.h"
#include "common/dates.h"

#include <QString>
#include <string_view>

namespace interest {

enum class Tone { Plain, Exclamation, Critical };

// What the posting run and the removal need from their caller: the messages they tell on the
// way, the removal's question, the printed report, the progress shown and the clock. The window
// implements it over the desktop; benchmarks and tests implement it headless.
class EngineHost {
  public:
    virtual ~EngineHost() = default;

    // A box with OK (and Cancel when asked for), whatever the answer.
    virtual void notify(const QString& text, const QString& title = {}, Tone tone = Tone::Plain,
                        bool withCancel = false) = 0;
    // The removal's question for one interest charge: true to remove it.
    virtual bool confirmRemoval(const QString& charge) = 0;
    // A line of the printed report, and its end.
    virtual void reportLine(const QString& line) = 0;
    // The column headings of the lines that follow, printed now and at the top of every page
    // after (empty: none from here on).
    virtual void reportColumns(const QString& columns) {
        if (!columns.isEmpty()) reportLine(columns);
    }
    // A line (or the column headings) as the store's bytes; a host that keeps the report as
    // bytes takes them as they are.
    virtual void reportBytes(std::string_view line, bool columns = false) {
        if (columns) reportColumns(common::fromAnsi(line));
        else reportLine(common::fromAnsi(line));
    }
    virtual void endReport() = 0;
    // How far the run is, in percent.
    virtual void progress(int percent) = 0;
    // The busy pointer.
    virtual void setBusy(bool on) = 0;
    // Lets pending window events run.
    virtual void doEvents() = 0;
    virtual const common::Clock& clock() const = 0;
};

} // namespace interest
