#include "appraise/use_cases/startup.h"

#include "appraise/documents/fixdate.h"
#include "appraise/documents/old_appraisals.h"
#include "appraise/printing/alignment.h"
#include "appraise/printing/inserts.h"
#include "appraise/printing/startup_settings.h"
#include "appraise/support_page.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/folder_snapshot.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <functional>

namespace appraise {

using namespace common;
using namespace platform;

namespace {

// Error 75 is passed over statement by statement; anything else ends the start-up.
void step(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const RunError& e) {
        if (e.number() != err::PathFileAccess) throw;
    }
}

// Align.exe holds the default alignment file: unpacked once, then removed.
void unpackAlignment(Platform& p) {
    bool started = false;
    step([&] {
        try {
            p.processes.start("Align.exe", 2);
            started = true;
        } catch (const RunError&) {
            // A self-extracting archive of another platform: leave it for the user.
            p.messages.show(QStringLiteral("The default alignment file in Align.exe could not be unpacked. "
                                           "Align.exe has been left in this folder."),
                            {}, Buttons::Ok, Icon::Exclamation);
        }
    });
    if (!started) return;
    step([&] { p.messages.show(QStringLiteral("We have unzipped the default alignment file.")); });
    step([] { removeFile("Align.exe"); });
}

void loadSettings(Platform& p, AppraiseStart& start) {
    StartupSettings loaded;
    try {
        loadStartupSettings(loaded);
    } catch (const RunError&) {
        start.settings = loaded.settings;
        for (const auto& notice : loaded.notices) p.messages.show(fromAnsi(notice));
        throw;
    }
    start.settings = loaded.settings;
    for (const auto& notice : loaded.notices) p.messages.show(fromAnsi(notice));
}

// The logo: a missing or unreadable bitmap is reported, and the start goes on without it.
void loadLogo(Platform& p, AppraiseStart& start) {
    try {
        if (!fileExists("anytown1.bmp")) throw RunError(err::FileNotFound, "anytown1.bmp");
        QImage img(QString::fromStdString(resolveName("anytown1.bmp")));
        if (img.isNull()) throw RunError(err::InvalidPicture, "anytown1.bmp");
        start.logo = img;
    } catch (const RunError& e) {
        p.messages.show(QString::fromStdString(str(e.number())));
    }
}

void startWork(Platform& p, AppraiseStart& start) {
    if (fileExists("align.exe")) unpackAlignment(p);
    if (!hasAlignmentFile()) {
        if (hasDefaultAlignment()) {
            step([] { restoreDefaultAlignment(); });
        } else {
            p.messages.show(QStringLiteral("You have no alignment factors defined.  You can download a default "
                                           "appraisal file from SPECIAL section of ") +
                            QString::fromLatin1(supportPage));
            p.processes.endProcess();
        }
    }
    loadSettings(p, start);

    if (p.instance.anotherRunning()) {
        p.messages.show(QStringLiteral("You already have one appraisal program running on this computer."));
        start.anotherCopy = true;
        return;
    }

    step([&] {
        const std::string today = currentDateText(p.clock);
        std::string d = today.substr(0, 6) + today.substr(today.size() - 2);
        fixdate(d);
        start.date = d;
    });
    loadLogo(p, start);

    if (!fileExists("apptrans.dat")) {
        p.messages.show(QStringLiteral("You must enter a customer first"));
        startMainProgram(p);
        p.processes.endProcess();
    }
    CustomerContext& cust = start.customer;
    step([&] {
        cust = readHandover("apptrans.dat");
        readCustomerRecord(cust.custrecordno);
    });
    step([&] { cust.custprefix = customerPrefix(cust.custnumber); });

    step([&] {
        start.appraisalList.emplace();
        std::vector<QString>& list = *start.appraisalList;
        const std::vector<QString> old = oldAppraisalEntries(cust.custprefix);
        if (old.empty()) {
            list.push_back(QStringLiteral("No appraisals yet"));
        } else {
            list.push_back(QStringLiteral("Old appraisals for this customer:"));
            list.insert(list.end(), old.begin(), old.end());
        }
    });

    step([&] {
        QString heading = QStringLiteral("Appraisal for");
        if (const auto line = typeLine()) heading = fromAnsi(*line);
        const auto& l = cust.custlines;
        start.customerCaption = heading + ":" + '\r' + fromAnsi(l[1]) + '\r' + fromAnsi(l[2]) + '\r' + fromAnsi(l[3]) +
                                '\r' + fromAnsi(l[4]);
    });
}

} // namespace

void startAppraise(Platform& p, AppraiseStart& start) {
    // The start looks many names up in the store's folder: one listing serves them all.
    const FolderSnapshot snapshot;
    clearStaleTemporaries();
    startWork(p, start);
}

void startMainProgram(Platform& p) {
    try {
        p.processes.start("velmaron.exe", 3);
    } catch (const RunError&) {
        p.messages.show(QStringLiteral("The main program velmaron.exe could not be started."), {}, Buttons::Ok,
                        Icon::Exclamation);
    }
}

} // namespace appraise
