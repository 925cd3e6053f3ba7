#pragma once

#include "core/resultcode.h"
#include "core/timeratio.h"

#include <QString>
#include <QStringView>

namespace kovrant {

struct CombineOptions {
    bool skipCrcCheck = false;
    TimeRatioChoice timeRatio = TimeRatioChoice::Unchanged;
};

// Puts the tags of a TTD text back into its source lyrics after checking, by the TTD's CRC,
// that the source is the text it was divided from. Fails with 21 (not a TTD text), 22 (no
// source text) or 23 (CRC mismatch); taggedText is set only on success.
bool CombineLyrics(QStringView ttdText, QStringView sourceText, const CombineOptions& options,
                   QString& taggedText, ResultCode& code);

// True when the CRC text stored in a TTD proves that sourceText is the text it was divided
// from, by the same comparisons as CombineLyrics.
bool SourceMatchesCrc(QStringView crcText, QStringView sourceText);

} // namespace kovrant
