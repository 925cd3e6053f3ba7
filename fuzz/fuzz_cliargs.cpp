// Any command line (arguments between NUL bytes, as raw bytes that need not be UTF-8):
// kovrant-cli's parser either says what it did not understand or gives options that hold
// together, the same every time.
#include "cli/cliargs.h"
#include "files/filenames.h"
#include "jobs/jobpaths.h"

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

namespace {

// An extension as the options carry it: one leading dot before a text that can end a name.
bool IsOptionExtension(const QString& extension)
{
    return extension.startsWith(u'.') && IsExtensionText(extension.mid(1)) &&
           !extension.mid(1).startsWith(u'.');
}

bool Same(const CliOptions& a, const CliOptions& b)
{
    return a.command == b.command && a.sourceExtension == b.sourceExtension &&
           a.ttdExtension == b.ttdExtension && a.lyricsExtension == b.lyricsExtension &&
           a.noCrcCheck == b.noCrcCheck && a.repair == b.repair && a.timeRatio == b.timeRatio &&
           a.recognition == b.recognition && a.overwrite == b.overwrite && a.verbose == b.verbose &&
           a.source == b.source && a.outputDir == b.outputDir && a.newExtension == b.newExtension &&
           a.files == b.files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QStringList arguments;
    const QByteArrayView bytes(data, qsizetype(size));
    for (qsizetype start = 0; start <= bytes.size();) {
        qsizetype end = bytes.indexOf('\0', start);
        if (end < 0)
            end = bytes.size();
        arguments << DecodeFileName(bytes.sliced(start, end - start));
        start = end + 1;
    }
    CliOptions options;
    QString problem;
    const bool understood = ParseCliArguments(arguments, options, problem);
    CliOptions again;
    QString againProblem;
    if (ParseCliArguments(arguments, again, againProblem) != understood)
        std::abort();
    if (!understood) {
        if (problem.isEmpty() || problem != againProblem)
            std::abort();
        return 0;
    }
    if (!Same(options, again))
        std::abort();
    if (options.command == CliCommand::Help || options.command == CliCommand::Version)
        return 0;
    if (options.files.isEmpty() || options.files.contains(QString()) ||
        !IsOptionExtension(options.sourceExtension) || !IsOptionExtension(options.ttdExtension) ||
        !IsOptionExtension(options.lyricsExtension) ||
        (options.source && options.source->isEmpty()) ||
        (options.outputDir && options.outputDir->isEmpty()))
        std::abort();
    switch (options.command) {
    case CliCommand::Divide:
        if (options.sourceExtension.compare(options.ttdExtension, Qt::CaseInsensitive) == 0)
            std::abort();
        break;
    case CliCommand::Combine:
        if (options.sourceExtension.compare(options.lyricsExtension, Qt::CaseInsensitive) == 0 ||
            (options.source && options.files.size() != 1))
            std::abort();
        break;
    case CliCommand::Rename:
        if (!IsExtensionText(options.newExtension) || options.newExtension.startsWith(u'.'))
            std::abort();
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return 0;
}
