#pragma once
#include "dates.h"
#include "dialogs.h"
#include "printer.h"
#include "system.h"

// The services a window reaches the desktop through, handed in at construction.
struct Platform {
    MessageBox& messages;
    InputBox& input;
    FontDialog& fonts;
    PrintSetupDialog& printSetup;
    Printer& printer;
    Processes& processes;
    Clock& clock;
    SingleInstance& instance;
    Clipboard& clipboard;
    Screen& screen;
};
