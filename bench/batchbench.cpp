// kovrant-batch-bench: kovrant-cli divide, then combine, over a folder of realistic lyrics files
// of 2 to 60 KB, each timed (wall and CPU of the process) against kovrant-batch-floor doing the
// same reads and safe writes in the same run, best of several runs. With strace installed, also
// the system calls per file of each. Options: --files N (default 1000), --scaling (the same
// again with ten times the files, and the per-file cost of the two compared), --runs N,
// --brief (only the figure's line).
#include "core/cp932.h"
#include "lyrics.h"
#include "process.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

using bench::Args;

struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

Timing Run(const Args& args, const QString& folder, const QString& errors)
{
    const bench::Measurement m = bench::Run(args, folder, errors);
    return {m.wall, m.cpu};
}

// The calls of a strace -c summary by name, with "total".
std::map<std::string, double> ReadStraceSummary(const QString& path)
{
    std::map<std::string, double> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        // "% time, seconds, usecs/call, calls, [errors,] syscall"
        bool number = false;
        if (fields.size() >= 5)
            fields[3].toDouble(&number);
        if (number)
            calls[fields.last().toStdString()] += fields[3].toDouble();
    }
    return calls;
}

struct Side {
    Timing time;
    std::map<std::string, double> calls; // per file
};

struct Job {
    Side floor, cli;
    double wallRatio() const { return cli.time.wall / floor.time.wall; }
    double cpuRatio() const { return cli.time.cpu / floor.time.cpu; }
};

class Folder {
public:
    Folder(const QString& root, int files, const std::vector<QByteArray>& texts)
        : m_path(root)
    {
        QDir().mkpath(root);
        for (int i = 0; i < files; ++i) {
            const std::string base = QString::asprintf("s%05d", i).toStdString();
            m_names.push_back(base);
            QFile file(m_path + u'/' + QString::fromStdString(base) + u".LRC"_s);
            const QByteArray& bytes = texts[std::size_t(i) % texts.size()];
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            bytesWritten += bytes.size();
        }
    }

    Args names(const char* extension) const
    {
        Args names;
        for (const std::string& base : m_names)
            names.push_back(base + extension);
        return names;
    }
    void remove(const char* extension) const
    {
        for (const std::string& name : names(extension))
            QFile::remove(m_path + u'/' + QString::fromStdString(name));
    }
    const QString& path() const { return m_path; }

    qint64 bytesWritten = 0;

private:
    QString m_path;
    std::vector<std::string> m_names;
};

Args Concat(Args args, const Args& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::vector<QByteArray> MakeTexts(int count)
{
    std::vector<QByteArray> texts;
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        qsizetype target = std::uniform_int_distribution<qsizetype>(2000, 58000)(random);
        QByteArray bytes;
        do {
            EncodeCp932(bench::Lyrics(target, 14 + i % 12, std::uint32_t(i)), bytes);
            target -= 1000;
        } while (bytes.size() > 60000);
        texts.push_back(bytes);
    }
    return texts;
}

struct Measured {
    int files = 0;
    double megabytes = 0;
    Job divide, combine;
    std::map<std::string, double> overwriteCalls; // divide --overwrite over existing outputs
    bool ok = true;
};

void Keep(Timing& best, const Timing& run, bool& ok)
{
    if (run.wall < 0)
        ok = false;
    best.wall = std::min(best.wall, run.wall);
    best.cpu = std::min(best.cpu, run.cpu);
}

Measured Measure(int files, int runs, const std::vector<QByteArray>& texts, const QString& strace)
{
    QTemporaryDir temp;
    Measured m;
    m.files = files;
    const Folder floor(temp.path() + u"/floor"_s, files, texts);
    const Folder cli(temp.path() + u"/cli"_s, files, texts);
    m.megabytes = double(cli.bytesWritten) / 1e6;
    const QString errors = temp.path() + u"/stderr"_s;
    const std::string floorProgram = KOVRANT_BATCH_FLOOR;
    const std::string cliProgram = KOVRANT_CLI;

    const Args floorDivide = Concat({floorProgram, "divide"}, floor.names(".LRC"));
    const Args cliDivide = Concat({cliProgram, "divide"}, cli.names(".LRC"));
    const Args floorCombine = Concat({floorProgram, "combine", "OUT"}, floor.names(".TTD"));
    const Args cliCombine =
        Concat({cliProgram, "combine", "--lyrics-ext", "OUT"}, cli.names(".TTD"));
    // Whatever earlier steps left for the disk to do is done before the next is timed, so that
    // it falls on neither side.
    const auto clearDivide = [&] {
        for (const Folder* folder : {&floor, &cli}) {
            folder->remove(".TXT");
            folder->remove(".TTD");
        }
        ::sync();
    };
    const auto clearCombine = [&] {
        floor.remove(".OUT");
        cli.remove(".OUT");
        ::sync();
    };
    // The two sides take turns, each going first in every other run, so that a slower phase of
    // the disk falls on both.
    const auto turn = [&](Job& job, const Args& floorArgs, const Args& cliArgs, int run) {
        for (int side = 0; side < 2; ++side) {
            if ((side + run) % 2 == 0)
                Keep(job.floor.time, Run(floorArgs, floor.path(), errors), m.ok);
            else
                Keep(job.cli.time, Run(cliArgs, cli.path(), errors), m.ok);
        }
    };
    for (int run = 0; run < runs; ++run) {
        clearDivide();
        turn(m.divide, floorDivide, cliDivide, run);
    }
    for (int run = 0; run < runs; ++run) {
        clearCombine();
        turn(m.combine, floorCombine, cliCombine, run);
    }
    if (strace.isEmpty())
        return m;

    const QString log = temp.path() + u"/strace"_s;
    const auto count = [&](const Args& args, const Folder& folder) {
        Timing ignored;
        Keep(ignored,
             Run(Concat({strace.toStdString(), "-f", "-c", "-o", log.toStdString()}, args),
                 folder.path(), errors),
             m.ok);
        std::map<std::string, double> calls = ReadStraceSummary(log);
        for (auto& [name, n] : calls)
            n /= files;
        return calls;
    };
    clearDivide();
    m.divide.floor.calls = count(floorDivide, floor);
    m.divide.cli.calls = count(cliDivide, cli);
    clearCombine();
    m.combine.floor.calls = count(floorCombine, floor);
    m.combine.cli.calls = count(cliCombine, cli);
    m.overwriteCalls = count(Concat({cliProgram, "divide", "--overwrite"}, cli.names(".LRC")), cli);
    return m;
}

// "total" and the kinds with at least half a call per file, most first.
std::string CallsText(const std::map<std::string, double>& calls)
{
    std::vector<std::pair<double, std::string>> kinds;
    for (const auto& [name, n] : calls) {
        if (name != "total" && n >= 0.5)
            kinds.emplace_back(n, name);
    }
    std::sort(kinds.rbegin(), kinds.rend());
    std::string text =
        QString::asprintf("%.1f", calls.count("total") ? calls.at("total") : 0.0).toStdString();
    for (std::size_t i = 0; i < kinds.size(); ++i)
        text += QString::asprintf("%s%s %.1f", i == 0 ? " (" : ", ", kinds[i].second.c_str(),
                                  kinds[i].first)
                    .toStdString();
    return text + (kinds.empty() ? "" : ")");
}

void PrintDetails(const Measured& m)
{
    for (const auto& [name, job] :
         {std::pair{"divide", &m.divide}, std::pair{"combine", &m.combine}}) {
        std::printf("batch %s, %d files (%.1f MB):\n", name, m.files, m.megabytes);
        std::printf("  floor       %7.3f s wall %7.3f s CPU\n", job->floor.time.wall,
                    job->floor.time.cpu);
        std::printf("  kovrant-cli %7.3f s wall %7.3f s CPU   ratio %.2f wall, %.2f CPU\n",
                    job->cli.time.wall, job->cli.time.cpu, job->wallRatio(), job->cpuRatio());
        if (!job->cli.calls.empty()) {
            std::printf("  system calls per file: kovrant-cli %s\n",
                        CallsText(job->cli.calls).c_str());
            std::printf("                         floor %s\n", CallsText(job->floor.calls).c_str());
        }
    }
    if (!m.overwriteCalls.empty())
        std::printf("batch divide --overwrite over existing outputs: system calls per file %s\n",
                    CallsText(m.overwriteCalls).c_str());
}

double Total(const std::map<std::string, double>& calls)
{
    return calls.count("total") ? calls.at("total") : 0.0;
}

} // namespace

int main(int argc, char* argv[])
{
    int files = 1000;
    int runs = 5;
    bool scaling = false;
    bool brief = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--files") == 0 && i + 1 < argc)
            files = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--scaling") == 0)
            scaling = true;
        else if (std::strcmp(argv[i], "--brief") == 0)
            brief = true;
        else {
            std::fprintf(stderr, "usage: kovrant-batch-bench [--files N] [--runs N] [--scaling] "
                                 "[--brief]\n");
            return 2;
        }
    }
    const QString strace = QStandardPaths::findExecutable(u"strace"_s);
    const std::vector<QByteArray> texts = MakeTexts(250);
    const Measured small = Measure(files, runs, texts, strace);
    if (!brief)
        PrintDetails(small);
    std::string line =
        QString::asprintf("1. batch (%d files): divide %.2fx wall %.2fx CPU, combine "
                          "%.2fx wall %.2fx CPU of the floor",
                          files, small.divide.wallRatio(), small.divide.cpuRatio(),
                          small.combine.wallRatio(), small.combine.cpuRatio())
            .toStdString();
    if (!strace.isEmpty())
        line += QString::asprintf("; system calls per file: divide %.1f (floor %.1f), combine %.1f "
                                  "(floor %.1f)",
                                  Total(small.divide.cli.calls), Total(small.divide.floor.calls),
                                  Total(small.combine.cli.calls), Total(small.combine.floor.calls))
                    .toStdString();
    else
        line += "; system calls not counted (no strace)";
    bool ok = small.ok;
    if (scaling) {
        const Measured large = Measure(10 * files, runs, texts, QString());
        if (!brief)
            PrintDetails(large);
        // The per-file cost of kovrant-cli with ten times the files, against the same of the
        // floor, so that what the file system does with a larger folder counts on both sides.
        const auto perFile = [&](const Job& big, const Job& base) {
            return QString::asprintf("%.2fx wall %.2fx CPU", big.wallRatio() / base.wallRatio(),
                                     big.cpuRatio() / base.cpuRatio());
        };
        line +=
            QString::asprintf("; per file with %d files vs %d: divide %s, combine %s", large.files,
                              files, qPrintable(perFile(large.divide, small.divide)),
                              qPrintable(perFile(large.combine, small.combine)))
                .toStdString();
        ok = ok && large.ok;
    }
    std::printf("%s\n", line.c_str());
    return ok ? 0 : 1;
}
