// kovrant-memory-bench: the peak resident memory of single combines (kovrant-cli combine --source)
// against the size of their two inputs: (a) realistic source lyrics of about 50 MB with the TTD
// file divided from them, every syllable tagged; (b) about 200 MB of source lyrics with a tag at
// each line's start and LF line breaks, where a copy of the source costs the most. Options:
// --megabytes N (the size of (a); (b) is four times it), --brief (only the figure's line).
#include "core/cp932.h"
#include "core/divide.h"
#include "lyrics.h"
#include "process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

bool brief = false;

bool Write(const QString& path, const QString& text)
{
    QByteArray bytes;
    QFile file(path);
    return EncodeCp932(text, bytes) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Lyrics of about bytes in code page 932: lines of kana, each with one tag at its start.
QString LineTaggedLyrics(qint64 bytes)
{
    const QString line = u"あいうえおかきくけこさしすせそたちつてとなにぬねの\r\n"_s;
    QString text;
    text.reserve(bytes / 2);
    std::mt19937 random(7);
    qint32 ms = 0;
    for (qsizetype estimate = 0; estimate < bytes; estimate += 10 + 2 * (line.size() - 2) + 2)
        text += bench::Tag(random, ms) + line;
    return text;
}

// Writes the TTD file and the source lyrics divided from lyrics, the source with LF breaks when
// lf.
bool MakeInputs(const QString& lyrics, bool lf, const QString& ttdPath, const QString& sourcePath)
{
    QString ttd, source;
    ResultCode code = ResultCode::Ok;
    return DivideLyrics(lyrics, ttd, source, code) && Write(ttdPath, ttd) &&
           Write(sourcePath, lf ? source.replace(u"\r\n"_s, u"\n"_s) : source);
}

// The peak memory of a single combine of the lyrics made by makeLyrics, divided, as a multiple
// of its inputs. The inputs are made in a child process: a program started from this one would
// otherwise report this one's peak as its own (the kernel hands the peak of the memory a spawned
// child starts from over to it).
double Measure(const char* name, QString (*makeLyrics)(qint64), qint64 bytes, bool lf)
{
    QTemporaryDir temp;
    const QString ttdPath = temp.path() + u"/big.TTD"_s;
    const QString sourcePath = temp.path() + u"/big.TXT"_s;
    const pid_t maker = ::fork();
    if (maker == 0)
        ::_exit(MakeInputs(makeLyrics(bytes), lf, ttdPath, sourcePath) ? 0 : 1);
    int status = 0;
    if (maker < 0 || ::waitpid(maker, &status, 0) != maker || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cannot make the inputs\n");
        return -1;
    }
    const QString out = temp.path() + u"/out"_s;
    if (!QDir().mkdir(out))
        return -1;
    const bench::Measurement m =
        bench::Run({KOVRANT_CLI, "combine", "--source", sourcePath.toStdString(), "--output-dir",
                    out.toStdString(), ttdPath.toStdString()},
                   temp.path(), temp.path() + u"/stderr"_s);
    if (m.wall < 0)
        return -1;
    const double sourceMb = double(QFile(sourcePath).size()) / 1e6;
    const double ttdMb = double(QFile(ttdPath).size()) / 1e6;
    const double peakMb = double(m.peakKilobytes) * 1024 / 1e6;
    if (!brief)
        std::printf("(%s) single combine of %.1f MB of source lyrics and a %.1f MB TTD file: "
                    "%.2f s, peak resident memory %.1f MB, %.2fx the inputs\n",
                    name, sourceMb, ttdMb, m.wall, peakMb, peakMb / (sourceMb + ttdMb));
    return peakMb / (sourceMb + ttdMb);
}

QString RealisticLyrics(qint64 bytes)
{
    return bench::Lyrics(bytes, 20, 50);
}

} // namespace

int main(int argc, char* argv[])
{
    qint64 megabytes = 50;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--megabytes") == 0 && i + 1 < argc)
            megabytes = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--brief") == 0)
            brief = true;
        else {
            std::fprintf(stderr, "usage: kovrant-memory-bench [--megabytes N] [--brief]\n");
            return 2;
        }
    }
    // Source lyrics are about 28 % of the tagged lyrics they are divided from, and 84 % when
    // there is a tag a line.
    const double realistic = Measure("a", RealisticLyrics, megabytes * 1000000 * 100 / 28, false);
    const double lineTagged =
        Measure("b", LineTaggedLyrics, 4 * megabytes * 1000000 * 100 / 84, true);
    if (realistic < 0 || lineTagged < 0)
        return 1;
    std::printf("4. memory: peak of a single combine %.2fx its inputs (%lld MB of source lyrics, "
                "every syllable tagged), %.2fx (%lld MB, a tag a line, LF breaks)\n",
                realistic, static_cast<long long>(megabytes), lineTagged,
                static_cast<long long>(4 * megabytes));
    return 0;
}
