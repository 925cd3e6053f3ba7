#pragma once

#include "core/lyricsconversion.h"
#include "jobs/jobstate.h"

namespace kovrant {

struct ConvertRequest {
    LyricsFormat to = LyricsFormat::Lrc;
    qint32 shiftMs = 0;   // added to every time
    QString outputFolder; // "" writes each output beside its input
};

// Converts each queued file to request.to and writes it to ConvertOutputPath. To LRC, enhanced
// LRC, ASS or WebVTT: time-tagged lyrics, or a TTD file combined with its source lyrics
// (ReadTaggedLyrics), written in UTF-8 without a byte-order mark. To time-tagged lyrics: an LRC,
// enhanced LRC, ASS or WebVTT file, recognised by its content, written in code page 932 where it
// holds them, else in FallbackEncoding. True only when every file went through; results gets
// one code per queued file. An output folder that is no folder is reported once and fails all.
bool BatchConvert(const QStringList& queue, const ConvertRequest& request, const JobSnapshot& state,
                  JobContext& context, BatchResults& results);

} // namespace kovrant
