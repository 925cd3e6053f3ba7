#pragma once

#include "core/resultcode.h"
#include "core/textencoding.h"
#include "core/timeratio.h"
#include "files/fileid.h"
#include "jobs/userdialogs.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kovrant {

// The window's state as a job reads it when it starts.
struct JobSnapshot {
    bool alwaysOnTop = true;
    bool overwriteWithoutAsking = false;
    bool skipCrcCheck = false;
    TimeRatioChoice timeRatio = TimeRatioChoice::Unchanged;
    Recognition recognition = Recognition::Automatic; // how the encodings of inputs are found

    // The extensions of the three kinds of file, each with its leading dot.
    QString lyricsExtension = QStringLiteral(".LRC");
    QString sourceExtension = QStringLiteral(".TXT");
    QString ttdExtension = QStringLiteral(".TTD");

    // The single combine's fields.
    QString ttdPath;
    QString sourcePath;
    QString outputFolder;        // as typed or picked
    bool outputBesideTtd = true; // write into the TTD file's folder instead of outputFolder

    // The extension tool's new extension as typed, and its recent list, most recent first.
    QString newExtension;
    QStringList recentNewExtensions;
};

// What every job works with besides the snapshot. One context serves one run: a batch, a click
// of the combine button, or one command line.
struct JobContext {
    UserDialogs& dialogs;
    WindowHooks& hooks;
    JobLog& log;
    QSet<FileId> writtenThisRun{}; // never replaced again in the same run
};

// The per-file codes of the running batch: entry i belongs to queued file i (0-based); Ok means
// the file went through or the user declined to overwrite.
using BatchResults = QList<ResultCode>;

} // namespace kovrant
