#pragma once
#include "common/dates.h"
#include "platform/desktop_services.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

namespace platform {

// The services a window reaches the desktop through, handed in at construction.
struct Platform {
    MessageBox& messages;
    InputBox& input;
    FontDialog& fonts;
    PrintSetupDialog& printSetup;
    Printer& printer;
    Processes& processes;
    common::Clock& clock;
    SingleInstance& instance;
    Clipboard& clipboard;
    Screen& screen;
    DocumentFiles& documents;
    PictureDialog& pictures;
};

} // namespace platform
