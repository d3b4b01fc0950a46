#include "interest/engine_host.h"

namespace interest {

void nothingDesignated(EngineHost& host) {
    host.notify(QStringLiteral("Nothing designated for file name"), {}, Tone::Critical, true);
    host.endProgram();
}

} // namespace interest
