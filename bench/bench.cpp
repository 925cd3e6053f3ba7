// Times Divide and Combine and compares each with a floor measured in the same run: decoding
// the input's code page 932 bytes, encoding the text again and computing the CRC of the bytes,
// which any divide or combine of a file must do at least once. Each figure is the best of
// several runs. With --diagnosis (last), times the CRC diagnosis of long source lyrics instead.
#include "core/combine.h"
#include "core/cp932.h"
#include "core/crc32.h"
#include "core/crcdiagnosis.h"
#include "core/divide.h"
#include "core/lyricsconversion.h"
#include "core/retime.h"
#include "lyrics.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace kovrant;
using kovrant::bench::Lyrics;
using namespace Qt::StringLiterals;

namespace {

double Seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double BestSeconds(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, Seconds(work));
    return best;
}

// The best time of each piece of work, the pieces taking turns run after run, so that a slower
// phase of the machine falls on all of them alike.
std::vector<double> BestSecondsInTurn(int runs, const std::vector<std::function<void()>>& works)
{
    std::vector<double> best(works.size(), 1e300);
    for (int i = 0; i < runs; ++i) {
        for (std::size_t w = 0; w < works.size(); ++w)
            best[w] = std::min(best[w], Seconds(works[w]));
    }
    return best;
}

// The floor of every ratio: what any job on the bytes must do at least, decoding them, encoding
// the text again and taking its CRC.
void Floor(const QByteArray& bytes)
{
    QString decoded;
    QByteArray encoded;
    DecodeCp932(bytes, decoded);
    EncodeCp932(decoded, encoded);
    volatile quint32 sink = Crc32(encoded);
    (void)sink;
}

struct Measured {
    double floor, divide, combine;
    qsizetype bytes;
};

bool brief = false; // only the figure's line

Measured Measure(const char* name, const QString& text, int runs)
{
    QByteArray bytes;
    EncodeCp932(text, bytes);

    QString ttd, source, tagged;
    ResultCode code = ResultCode::Ok;
    if (!DivideLyrics(text, ttd, source, code) || !CombineLyrics(ttd, source, {}, tagged, code)) {
        std::printf("%s: divide or combine failed with %d\n", name, int(code));
        return {};
    }

    Measured m{};
    m.bytes = bytes.size();
    const std::vector<double> best =
        BestSecondsInTurn(runs, {[&] { Floor(bytes); },
                                 [&] {
                                     QString t, s;
                                     DivideLyrics(text, t, s, code);
                                 },
                                 [&] {
                                     QString out;
                                     CombineLyrics(ttd, source, {}, out, code);
                                 }});
    m.floor = best[0];
    m.divide = best[1];
    m.combine = best[2];
    const double mb = double(m.bytes) / 1e6;
    if (brief)
        return m;
    std::printf("%s: %lld bytes\n", name, static_cast<long long>(m.bytes));
    std::printf("  floor   (decode+encode+CRC) %8.1f MB/s\n", mb / m.floor);
    std::printf("  divide                      %8.1f MB/s   ratio %.2f\n", mb / m.divide,
                m.divide / m.floor);
    std::printf("  combine                     %8.1f MB/s   ratio %.2f\n", mb / m.combine,
                m.combine / m.floor);
    return m;
}

// A CRC mismatch looked into: the source of (a) with spaces at its line ends, which a repair
// proves; and with one character changed besides every difference a repair undoes, which
// nothing proves, so that all 23 combinations of repairs are tried before the shape is
// compared.
void MeasureDiagnosis(const QString& text, const Measured& floor)
{
    QString ttd, source;
    ResultCode code = ResultCode::Ok;
    DivideLyrics(text, ttd, source, code);
    QString spaced = source;
    spaced.replace(u"\r\n"_s, u" \r\n"_s);
    QString changed = u'\uFEFF' + spaced;
    changed.replace(u"\r\n \r\n"_s, u"\r\n\r\n\r\n"_s);
    changed.insert(changed.size() / 2, u"x Ｙ"_s);
    for (const auto& [name, damaged] :
         {std::pair{"spaces at line ends", spaced}, std::pair{"a changed character", changed}}) {
        const double seconds =
            BestSeconds(20, [&] { (void)DiagnoseCrcMismatch(ttd, damaged).repairs; });
        if (brief)
            continue;
        std::printf("  diagnose (%s)%*s %8.1f ms   ratio %.2f\n", name, int(20 - std::strlen(name)),
                    "", seconds * 1e3, seconds / floor.floor);
    }
}

// Retiming the realistic lyrics of (a) to their text with a few edits (a character replaced
// by two, a line inserted, three characters deleted, two lines joined, twice each), and to the
// text of other lyrics of the same size, which it refuses as too different.
void MeasureRetime(const QString& text, const Measured& floor)
{
    QString ttd, source, unrelated;
    ResultCode code = ResultCode::Ok;
    DivideLyrics(text, ttd, source, code);
    DivideLyrics(Lyrics(60000, 20, 4), ttd, unrelated, code);
    QString edited = source;
    const qsizetype step = edited.size() / 9;
    for (int i = 8; i >= 1; --i) {
        const qsizetype at = i * step;
        const qsizetype lineEnd = edited.indexOf(u"\r\n"_s, at);
        if (i % 4 == 0)
            edited.replace(at, 1, u"こい"_s);
        else if (i % 4 == 1)
            edited.insert(lineEnd + 2, u"新しい行を足す\r\n"_s);
        else if (i % 4 == 2)
            edited.remove(at, 3);
        else
            edited.remove(lineEnd, 2);
    }
    RetimeResult result;
    const auto retime = [&](const QString& newText) {
        return [&text, &newText, &result, &code] { RetimeLyrics(text, newText, result, code); };
    };
    const double fewEdits = BestSeconds(20, retime(edited));
    RetimeLyrics(text, edited, result, code);
    const qsizetype edits = result.edits;
    const double different = BestSeconds(3, retime(unrelated));
    const bool refused = !RetimeLyrics(text, unrelated, result, code);
    if (!brief) {
        std::printf("retime: %lld and %lld characters of lyrics\n",
                    static_cast<long long>(source.size()),
                    static_cast<long long>(unrelated.size()));
        std::printf("  a few edits (%lld units)      %8.1f ms   ratio %.2f\n",
                    static_cast<long long>(edits), fewEdits * 1e3, fewEdits / floor.floor);
        std::printf("  unrelated lyrics (%s) %8.1f ms   ratio %.2f\n",
                    refused ? "refused" : "carried", different * 1e3, different / floor.floor);
    }
    std::printf("2. core retime (60 KB): a few edits %.2fx of the floor\n", fewEdits / floor.floor);
    std::printf("2. core retime (60 KB): unrelated lyrics %s in %.2fx of the floor\n",
                refused ? "refused" : "carried", different / floor.floor);
}

// The realistic lyrics converted to each format that players read, and each of those back to
// time-tagged lyrics, against the floor of the same text measured in turn with them.
bool MeasureFormats(const QString& text, int runs)
{
    QByteArray bytes;
    EncodeCp932(text, bytes);
    struct Conversion {
        const char* name;
        LyricsFormat format;
        bool back;
        QString input;
    };
    std::vector<Conversion> conversions{{"to lrc", LyricsFormat::Lrc, false, text},
                                        {"to elrc", LyricsFormat::EnhancedLrc, false, text},
                                        {"to ass", LyricsFormat::Ass, false, text},
                                        {"to vtt", LyricsFormat::WebVtt, false, text},
                                        {"back from elrc", LyricsFormat::EnhancedLrc, true, {}},
                                        {"back from ass", LyricsFormat::Ass, true, {}},
                                        {"back from vtt", LyricsFormat::WebVtt, true, {}}};
    ResultCode code = ResultCode::Ok;
    for (Conversion& conversion : conversions) {
        QString output;
        if (conversion.back && !ConvertLyrics(text, conversion.format, {}, conversion.input, code))
            break;
        if (!ConvertLyrics(conversion.input,
                           conversion.back ? LyricsFormat::Tags : conversion.format, {}, output,
                           code))
            break;
    }
    if (code != ResultCode::Ok) {
        std::printf("formats: a conversion failed with %d\n", int(code));
        return false;
    }

    std::vector<std::function<void()>> works{[&] { Floor(bytes); }};
    for (const Conversion& conversion : conversions) {
        works.push_back([&conversion, &code] {
            QString output;
            ConvertLyrics(conversion.input,
                          conversion.back ? LyricsFormat::Tags : conversion.format, {}, output,
                          code);
        });
    }
    const std::vector<double> best = BestSecondsInTurn(runs, works);
    const double floor = best[0];
    if (!brief) {
        std::printf("formats of (a): floor %8.1f MB/s\n", double(bytes.size()) / 1e6 / floor);
        for (std::size_t i = 0; i < conversions.size(); ++i)
            std::printf("  %-27s %8.1f MB/s   ratio %.2f\n", conversions[i].name,
                        double(bytes.size()) / 1e6 / best[i + 1], best[i + 1] / floor);
    }
    std::printf("2. formats (60 KB): to lrc %.2fx, elrc %.2fx, ass %.2fx, vtt %.2fx; back from "
                "elrc %.2fx, ass %.2fx, vtt %.2fx of the floor\n",
                best[1] / floor, best[2] / floor, best[3] / floor, best[4] / floor, best[5] / floor,
                best[6] / floor, best[7] / floor);
    return true;
}

// The CRC diagnosis of long source lyrics, the case that used to take minutes: every repair
// changes the text and none proves a match, so that up to the length repairs are looked for in,
// every combination of them is tried; beyond it only the line report is made. Seconds for source
// lyrics of length characters (cut to it) with the TTD file of the lyrics they come from.
double DiagnosisSeconds(qsizetype length)
{
    QString ttd, source;
    ResultCode code = ResultCode::Ok;
    // Source lyrics are about 14 % as many characters as their lyrics have bytes.
    DivideLyrics(Lyrics(length * 100 / 14 + 10000, 20, 4), ttd, source, code);
    QString changed = u'\uFEFF' + source;
    changed.replace(u"\r\n"_s, u" \r\n"_s);
    changed.replace(u"\r\n \r\n"_s, u"\r\n\r\n\r\n"_s);
    changed.insert(1000, u"x Ｙ"_s);
    changed.truncate(length);
    return BestSeconds(3, [&] { (void)DiagnoseCrcMismatch(ttd, changed).repairs; });
}

void MeasureLongDiagnosis()
{
    const double atBound = DiagnosisSeconds(MaxRepairedLength);
    const double beyond = DiagnosisSeconds(MaxRepairedLength + 1);
    const qsizetype long24 = 12000000; // 24 MB in code page 932
    const double at24 = DiagnosisSeconds(long24);
    if (!brief) {
        std::printf("CRC diagnosis: %lld characters (every repair tried) %.2f s, %lld characters "
                    "%.2f s, %lld characters %.2f s\n",
                    static_cast<long long>(MaxRepairedLength), atBound,
                    static_cast<long long>(MaxRepairedLength + 1), beyond,
                    static_cast<long long>(long24), at24);
    }
    std::printf("5. diagnosis: CRC mismatch of %lld characters of source lyrics %.2f s with every "
                "repair tried; beyond, the line report alone: %.2f s for 24 MB\n",
                static_cast<long long>(MaxRepairedLength), atBound, at24);
}

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        brief = brief || std::strcmp(argv[i], "--brief") == 0;
    if (argc > 1 && std::strcmp(argv[argc - 1], "--diagnosis") == 0) {
        MeasureLongDiagnosis();
        return 0;
    }
#ifdef __GLIBC__
    // Keep freed memory in the process: otherwise every run of a large case maps fresh pages,
    // and on a virtual machine their first touch costs more than the work being measured,
    // differently for each side of a ratio depending on the allocator's thresholds.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    const Measured small = Measure("(a) realistic lyrics", Lyrics(60000, 20, 1), 400);
    const Measured large = Measure("(b) 10 MB of long lines", Lyrics(10000000, 1000000, 2), 7);
    // Twice (b): beyond every cache like (b), so that only the work per byte differs.
    const Measured double_ = Measure("(c) 20 MB of long lines", Lyrics(20000000, 1000000, 3), 5);
    if (small.bytes == 0 || large.bytes == 0 || double_.bytes == 0)
        return 1;
    MeasureDiagnosis(Lyrics(60000, 20, 1), small);
    const auto perByte = [](double seconds, qsizetype bytes) { return seconds / double(bytes); };
    const double divideGrowth =
        perByte(double_.divide, double_.bytes) / perByte(large.divide, large.bytes);
    const double combineGrowth =
        perByte(double_.combine, double_.bytes) / perByte(large.combine, large.bytes);
    if (!brief) {
        std::printf("per-byte cost (b)/(a): divide %.2f, combine %.2f\n",
                    perByte(large.divide, large.bytes) / perByte(small.divide, small.bytes),
                    perByte(large.combine, large.bytes) / perByte(small.combine, small.bytes));
        std::printf("per-byte cost (c)/(b): divide %.2f, combine %.2f\n", divideGrowth,
                    combineGrowth);
    }
    std::printf("2. core (60 KB): divide %.2fx, combine %.2fx of the floor; 10 MB of long lines: "
                "divide %.2fx, combine %.2fx; per byte at 20 MB vs 10 MB: divide %.2fx, combine "
                "%.2fx\n",
                small.divide / small.floor, small.combine / small.floor, large.divide / large.floor,
                large.combine / large.floor, divideGrowth, combineGrowth);
    MeasureRetime(Lyrics(60000, 20, 1), small);
    return MeasureFormats(Lyrics(60000, 20, 1), 400) ? 0 : 1;
}
