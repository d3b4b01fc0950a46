#pragma once
#include "platform/doubles/scripted_platform.h"

#include <string>
#include <vector>

namespace testsupport {

// The scripted platform with its transcript kept in `lines`, for tests that drive a window.
struct ScriptedDesk {
    explicit ScriptedDesk(const platform::ScriptSetup& setup = {})
        : transcript([this](const std::string& s) { lines.push_back(s); }), scripted(setup, transcript) {}
    platform::Platform& platform() { return scripted.platform(); }

    std::vector<std::string> lines;
    platform::Transcript transcript;
    platform::ScriptedPlatform scripted;
};

} // namespace testsupport
