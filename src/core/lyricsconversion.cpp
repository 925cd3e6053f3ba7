#include "core/lyricsconversion.h"

#include "core/assformat.h"
#include "core/divide.h"
#include "core/lines.h"
#include "core/lrcformat.h"
#include "core/timetag.h"
#include "core/timing.h"
#include "core/vttformat.h"

namespace kovrant {

namespace {

bool HasTimeTag(QStringView text)
{
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = NextLineBreak(text, start);
        const QStringView line = text.sliced(start, end - start);
        if (!IsAttributeLine(line)) {
            for (qsizetype i = IndexOf(line, u'['); i >= 0; i = IndexOf(line, u'[', i + 1)) {
                if (IsTimeTagAt(line, i))
                    return true;
            }
        }
        if (end == text.size())
            break;
        start = AfterLineBreak(text, end);
    }
    return false;
}

} // namespace

std::optional<LyricsFormat> RecogniseLyricsFormat(QStringView text)
{
    if (IsWebVttText(text))
        return LyricsFormat::WebVtt;
    if (IsAssText(text))
        return LyricsFormat::Ass;
    if (HasTimeTag(text))
        return LyricsFormat::Tags;
    const LrcTraits lrc = ExamineLrc(text.startsWith(u'\uFEFF') ? text.sliced(1) : text);
    if (lrc.lineStamps)
        return lrc.wordStamps ? LyricsFormat::EnhancedLrc : LyricsFormat::Lrc;
    return std::nullopt;
}

bool ConvertLyrics(QStringView input, LyricsFormat to, const ConvertOptions& options,
                   QString& output, ResultCode& code)
{
    TimingModel model;
    if (to == LyricsFormat::Tags) {
        const std::optional<LyricsFormat> from = RecogniseLyricsFormat(input);
        bool read = false;
        if (!from) {
            code = ResultCode::UnknownLyricsFormat;
        } else if (*from == LyricsFormat::Tags) {
            code = ResultCode::AlreadyTimeTagged;
        } else if (*from == LyricsFormat::Ass) {
            read = ReadAss(input, model, code);
        } else if (*from == LyricsFormat::WebVtt) {
            read = ReadVtt(input, model, code);
        } else {
            read = ReadLrc(input, model, code);
        }
        if (!read)
            return false;
        ShiftTimes(model, options.shiftMs);
        output = WriteTimeTaggedLyrics(model);
        return true;
    }

    if (!ReadTimeTaggedLyrics(input, options.shiftMs, model, code))
        return false;
    if (to == LyricsFormat::Ass)
        output = WriteAss(model);
    else if (to == LyricsFormat::WebVtt)
        output = WriteVtt(model);
    else
        output = WriteLrc(model, to == LyricsFormat::EnhancedLrc);
    return true;
}

} // namespace kovrant
