// Any text: the reader of each format answers with one of its codes, leaving the model as it
// was, or with a sound model, holding no more than a small multiple of the input in memory. What
// it accepts, its format's writer writes in a bounded text that the reader takes back to the same
// lines (to the format's unit), and once written again to the very same model. The conversion
// answers every target with a code or a bounded text.
#include "allocations.h"
#include "core/assformat.h"
#include "core/lrcformat.h"
#include "core/lyricsconversion.h"
#include "core/timetag.h"
#include "core/timing.h"
#include "core/vttformat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace kovrant;
using kovrant::fuzzing::Allocations;

namespace {

bool ReadTags(QStringView text, TimingModel& model, ResultCode& code)
{
    return ReadTimeTaggedLyrics(text, 0, model, code);
}

QString WriteEnhancedLrc(const TimingModel& model)
{
    return WriteLrc(model, true);
}

struct Format {
    bool (*read)(QStringView, TimingModel&, ResultCode&);
    QString (*write)(const TimingModel&);
    std::array<ResultCode, 3> failures;
    double toleranceMs; // how far the format's unit may move a time the reader gives
};

const Format Formats[] = {
    {ReadTags,
     WriteTimeTaggedLyrics,
     {ResultCode::NoTimeTagToConvert, ResultCode::NoTimeTagToConvert,
      ResultCode::NoTimeTagToConvert},
     5},
    {ReadLrc,
     WriteEnhancedLrc,
     {ResultCode::NoTimedLine, ResultCode::TimeBeyondLimit, ResultCode::FileTooLarge},
     5},
    {ReadAss,
     WriteAss,
     {ResultCode::InvalidAss, ResultCode::NoTimedLine, ResultCode::TimeBeyondLimit},
     0},
    {ReadVtt,
     WriteVtt,
     {ResultCode::UnknownLyricsFormat, ResultCode::NoTimedLine, ResultCode::TimeBeyondLimit},
     0},
};

// Lines within the text and the points, each line's points in order of column and time, within
// its text and the range of tags.
bool Sound(const TimingModel& model)
{
    for (const TimingLine& line : model.lines) {
        if (line.textStart < 0 || line.textLength < 0 ||
            line.textStart + line.textLength > model.text.size() || line.firstPoint < 0 ||
            line.pointCount < 0 ||
            std::size_t(line.firstPoint + line.pointCount) > model.points.size())
            return false;
        qsizetype column = 0;
        double ms = 0;
        for (const TimePoint& point : model.pointsOf(line)) {
            if (point.column < column || point.column > line.textLength || point.ms < ms ||
                point.ms > MaxTimeTagMs)
                return false;
            column = point.column;
            ms = point.ms;
        }
    }
    return true;
}

bool SameLines(const TimingModel& a, const TimingModel& b, double toleranceMs)
{
    if (a.lines.size() != b.lines.size() || a.attributes.size() != b.attributes.size())
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i) {
        const auto pa = a.pointsOf(a.lines[i]);
        const auto pb = b.pointsOf(b.lines[i]);
        const auto near = [toleranceMs](const TimePoint& x, const TimePoint& y) {
            return x.column == y.column && std::abs(x.ms - y.ms) <= toleranceMs;
        };
        if (a.textOf(a.lines[i]) != b.textOf(b.lines[i]) ||
            !std::equal(pa.begin(), pa.end(), pb.begin(), pb.end(), near))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Allocations::install();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));
    const std::size_t memoryLimit = 64 * size + 64 * 1024;
    const qsizetype outputLimit = 32 * qsizetype(size) + 64 * 1024;
    for (const Format& format : Formats) {
        TimingModel model;
        model.attributes << QStringLiteral("untouched");
        ResultCode code = ResultCode::Ok;
        bool ok = false;
        const std::size_t held = Allocations::peakOf([&] { ok = format.read(input, model, code); });
        if (ok != (code == ResultCode::Ok) || held > memoryLimit)
            std::abort();
        if (!ok) {
            if (std::find(format.failures.begin(), format.failures.end(), code) ==
                    format.failures.end() ||
                model.attributes != QStringList{QStringLiteral("untouched")})
                std::abort();
            continue;
        }
        if (!Sound(model))
            std::abort();
        const QString written = format.write(model);
        TimingModel back, again;
        if (written.size() > outputLimit || !format.read(written, back, code) ||
            !SameLines(model, back, format.toleranceMs) ||
            !format.read(format.write(back), again, code) || !(again == back))
            std::abort();
    }
    for (const LyricsFormat to :
         std::array{LyricsFormat::Tags, LyricsFormat::Lrc, LyricsFormat::EnhancedLrc,
                    LyricsFormat::Ass, LyricsFormat::WebVtt}) {
        QString output;
        ResultCode code = ResultCode::Ok;
        const bool ok = ConvertLyrics(input, to, {qint32(size % 7) * -300}, output, code);
        if (ok != (code == ResultCode::Ok) || output.size() > outputLimit)
            std::abort();
    }
    return 0;
}
