// kovrant-memory-bench: the peak resident memory of one single combine (kovrant-cli combine
// --source) of realistic source lyrics of about 50 MB with the TTD file divided from them,
// against the size of the two inputs. Options: --megabytes N (the source's size, default 50),
// --brief (only the figure's line).
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

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

bool Write(const QString& path, const QString& text)
{
    QByteArray bytes;
    QFile file(path);
    return EncodeCp932(text, bytes) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    qint64 megabytes = 50;
    bool brief = false;
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
    QTemporaryDir temp;
    const QString ttdPath = temp.path() + u"/big.TTD"_s;
    const QString sourcePath = temp.path() + u"/big.TXT"_s;
    {
        // Source lyrics are about 28 % of the tagged lyrics they are divided from.
        QString ttd, source;
        ResultCode code = ResultCode::Ok;
        if (!DivideLyrics(bench::Lyrics(megabytes * 1000000 * 100 / 28, 20, 50), ttd, source,
                          code) ||
            !Write(ttdPath, ttd) || !Write(sourcePath, source)) {
            std::fprintf(stderr, "cannot make the inputs\n");
            return 1;
        }
    }
    const QString out = temp.path() + u"/out"_s;
    QFile::remove(out);
    if (!QDir().mkdir(out))
        return 1;
    const bench::Measurement m =
        bench::Run({KOVRANT_CLI, "combine", "--source", sourcePath.toStdString(), "--output-dir",
                    out.toStdString(), ttdPath.toStdString()},
                   temp.path(), temp.path() + u"/stderr"_s);
    if (m.wall < 0)
        return 1;
    const double sourceMb = double(QFile(sourcePath).size()) / 1e6;
    const double ttdMb = double(QFile(ttdPath).size()) / 1e6;
    const double peakMb = double(m.peakKilobytes) * 1024 / 1e6;
    if (!brief)
        std::printf("single combine of %.1f MB of source lyrics and a %.1f MB TTD file: %.2f s, "
                    "peak resident memory %.1f MB\n",
                    sourceMb, ttdMb, m.wall, peakMb);
    std::printf("4. memory: peak of a single combine %.0f MB, %.2fx its inputs (%.0f MB source, "
                "%.0f MB TTD)\n",
                peakMb, peakMb / (sourceMb + ttdMb), sourceMb, ttdMb);
    return 0;
}
