#pragma once

#include "core/crcservice.h"
#include "core/resultcode.h"
#include "core/timeratio.h"
#include "jobs/userdialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kovrant {

// The window's state as a job reads it when it starts; fields are named after the controls
// and menu items that hold them.
struct JobSnapshot {
    bool mnAlways = true;     // always on top
    bool mnOverwrite = false; // replace existing outputs without asking
    bool mnNoCRCCheck = false;
    TimeRatioChoice timeRatioChoice = TimeRatioChoice::Unchanged;

    QString timeTaggedExtension = QStringLiteral(".LRC"); // CmbExt(0), with its dot
    QString sourceExtension = QStringLiteral(".TXT");     // CmbExt(1)
    QString ttdExtension = QStringLiteral(".TTD");        // CmbExt(2)

    QString txtTTD;         // the single combine's TTD file
    QString txtSozai;       // its source-lyrics file
    QString txtOut;         // its output folder
    bool ChkSameTTD = true; // output beside the TTD file instead of txtOut

    QString CmbNewExt;          // the extension tool's new extension, as typed
    QStringList CmbNewExtItems; // its recent list, most recent first
};

// What every job works with besides the snapshot. crc has been initialised (Initialise(1)).
struct JobContext {
    CrcService& crc;
    UserDialogs& dialogs;
    WindowHooks& hooks;
    JobLog& log;
};

// The per-file codes of the running batch: entry i belongs to queued file i (0-based); 0 means
// the file went through or the user declined to overwrite.
using BatchResults = QList<ResultCode>;

} // namespace kovrant
