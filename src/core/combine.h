#pragma once

#include "core/resultcode.h"
#include "core/textencoding.h"
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

// CombineLyrics with the tagged lyrics given as their bytes in encoding, its byte-order mark
// first, encoded a piece at a time so that they are never held whole as a text. When encoding
// cannot hold one of their characters they are given in FallbackEncoding, and encoding says so;
// fails with 15 when not even that can (a lone surrogate).
bool CombineLyricsToBytes(QStringView ttdText, QStringView sourceText,
                          const CombineOptions& options, TextEncoding& encoding,
                          QByteArray& taggedBytes, ResultCode& code);

enum class SourceReading { First, Second, Ambiguous };

// Of two readings of the same source bytes, first being the one recognition prefers: the one
// whose text the TTD's CRC proves (either, with the check skipped) and whose lines hold every
// tag's column. Ambiguous when both do and some tag would land on another byte of the file in
// one than in the other; First when neither is better.
SourceReading ChooseSourceReading(QStringView ttdText, QStringView first,
                                  TextEncoding firstEncoding, QStringView second,
                                  TextEncoding secondEncoding, bool skipCrcCheck);

// True when the CRC text stored in a TTD proves that sourceText is the text it was divided
// from, by the same comparisons as CombineLyrics.
bool SourceMatchesCrc(QStringView crcText, QStringView sourceText);

} // namespace kovrant
