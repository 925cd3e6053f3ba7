#include "cli/cliargs.h"

#include "cli/clitexts.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

// The options of every command; each command's parser takes those it goes with.
const QCommandLineOption HelpOption(u"help"_s);
const QCommandLineOption VersionOption(u"version"_s);
const QCommandLineOption VerboseOption(u"verbose"_s);
const QCommandLineOption OverwriteOption(u"overwrite"_s);
const QCommandLineOption NoCrcCheckOption(u"no-crc-check"_s);
const QCommandLineOption RepairOption(u"repair"_s);
const QCommandLineOption SourceExtOption(u"source-ext"_s, {}, u"EXT"_s);
const QCommandLineOption TtdExtOption(u"ttd-ext"_s, {}, u"EXT"_s);
const QCommandLineOption LyricsExtOption(u"lyrics-ext"_s, {}, u"EXT"_s);
const QCommandLineOption TimeRatioOption(u"time-ratio"_s, {}, u"R"_s);
const QCommandLineOption EncodingOption(u"encoding"_s, {}, u"E"_s);
const QCommandLineOption SourceOption(u"source"_s, {}, u"FILE"_s);
const QCommandLineOption OutputDirOption(u"output-dir"_s, {}, u"DIR"_s);
const QCommandLineOption ToOption(u"to"_s, {}, u"EXT"_s);

const QList<QCommandLineOption> AllOptions{
    HelpOption,      VersionOption, VerboseOption,   OverwriteOption, NoCrcCheckOption,
    SourceExtOption, TtdExtOption,  LyricsExtOption, TimeRatioOption, SourceOption,
    OutputDirOption, ToOption,      EncodingOption,  RepairOption,
};

// The options a command takes besides --help, --version and --verbose.
QList<QCommandLineOption> OptionsOf(CliCommand command)
{
    switch (command) {
    case CliCommand::Divide:
        return {SourceExtOption, TtdExtOption, OverwriteOption, EncodingOption};
    case CliCommand::Combine:
        return {SourceExtOption, LyricsExtOption, NoCrcCheckOption,
                TimeRatioOption, OverwriteOption, SourceOption,
                OutputDirOption, EncodingOption,  RepairOption};
    case CliCommand::Rename:
        return {ToOption};
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return {};
}

// Every option given goes with the command.
bool CheckOptionsGoWith(const QCommandLineParser& parser, CliCommand command, const QString& word,
                        QString& problem)
{
    QStringList allowed{HelpOption.names() + VersionOption.names() + VerboseOption.names()};
    for (const QCommandLineOption& option : OptionsOf(command))
        allowed << option.names();
    for (const QString& name : parser.optionNames()) {
        if (!allowed.contains(name)) {
            problem = CliText::OptionNotForCommand.arg(u"--"_s + name, word);
            return false;
        }
    }
    return true;
}

std::optional<CliCommand> CommandNamed(const QString& word)
{
    if (word == u"divide")
        return CliCommand::Divide;
    if (word == u"combine")
        return CliCommand::Combine;
    if (word == u"rename")
        return CliCommand::Rename;
    return std::nullopt;
}

std::optional<TimeRatioChoice> TimeRatioNamed(const QString& value)
{
    if (value == u"none")
        return TimeRatioChoice::Unchanged;
    if (value == u"1")
        return TimeRatioChoice::Ratio1;
    if (value == u"0.9953125")
        return TimeRatioChoice::Ratio0_9953125;
    return std::nullopt;
}

// The extension meant by an argument, without its leading dots; nothing for a text that leaves
// nothing else or cannot end a name.
std::optional<QString> BareExtension(const QString& argument)
{
    QString bare = StripLeadingDots(argument);
    if (!IsExtensionText(bare))
        return std::nullopt;
    return bare;
}

// Reads an extension option into target, after the leading text dot.
bool ReadExtension(const QCommandLineParser& parser, const QCommandLineOption& option,
                   QString& target, QString& problem, const QString& dot = u"."_s)
{
    if (!parser.isSet(option))
        return true;
    const QString value = parser.value(option);
    const std::optional<QString> bare = BareExtension(value);
    if (!bare) {
        problem = CliText::NotAnExtension.arg(value);
        return false;
    }
    target = dot + *bare;
    return true;
}

// Reads a path option; a path given, however short, must not be empty.
bool ReadPath(const QCommandLineParser& parser, const QCommandLineOption& option,
              std::optional<QString>& target, QString& problem)
{
    if (!parser.isSet(option))
        return true;
    target = parser.value(option);
    if (!target->isEmpty())
        return true;
    problem = CliText::EmptyFileName;
    return false;
}

bool SameExtension(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool ReadCommandOptions(const QCommandLineParser& parser, CliOptions& options, QString& problem)
{
    options.verbose = parser.isSet(VerboseOption);
    options.overwrite = parser.isSet(OverwriteOption);
    options.noCrcCheck = parser.isSet(NoCrcCheckOption);
    options.repair = parser.isSet(RepairOption);
    options.files = parser.positionalArguments();
    if (!ReadExtension(parser, SourceExtOption, options.sourceExtension, problem) ||
        !ReadExtension(parser, TtdExtOption, options.ttdExtension, problem) ||
        !ReadExtension(parser, LyricsExtOption, options.lyricsExtension, problem) ||
        !ReadExtension(parser, ToOption, options.newExtension, problem, QString()) ||
        !ReadPath(parser, SourceOption, options.source, problem) ||
        !ReadPath(parser, OutputDirOption, options.outputDir, problem))
        return false;
    if (parser.isSet(TimeRatioOption)) {
        const QString value = parser.value(TimeRatioOption);
        const std::optional<TimeRatioChoice> ratio = TimeRatioNamed(value);
        if (!ratio) {
            problem = CliText::BadTimeRatio.arg(value);
            return false;
        }
        options.timeRatio = *ratio;
    }
    if (parser.isSet(EncodingOption)) {
        const QString value = parser.value(EncodingOption);
        if (value == u"cp932")
            options.recognition = Recognition::Cp932;
        else if (value == u"utf-8")
            options.recognition = Recognition::Utf8;
        else if (value != u"auto") {
            problem = CliText::BadEncoding.arg(value);
            return false;
        }
    }

    if (options.files.isEmpty()) {
        problem = CliText::NoFiles;
        return false;
    }
    if (options.files.contains(QString())) {
        problem = CliText::EmptyFileName;
        return false;
    }
    switch (options.command) {
    case CliCommand::Divide:
        if (SameExtension(options.sourceExtension, options.ttdExtension)) {
            problem = CliText::SameExtension.arg(u"--source-ext"_s, u"--ttd-ext"_s);
            return false;
        }
        break;
    case CliCommand::Combine:
        if (SameExtension(options.sourceExtension, options.lyricsExtension)) {
            problem = CliText::SameExtension.arg(u"--source-ext"_s, u"--lyrics-ext"_s);
            return false;
        }
        if (options.source && options.files.size() != 1) {
            problem = CliText::SourceNeedsOneFile;
            return false;
        }
        break;
    case CliCommand::Rename:
        if (!parser.isSet(ToOption)) {
            problem = CliText::NeedsNewExtension;
            return false;
        }
        break;
    case CliCommand::Help:
    case CliCommand::Version:
        break;
    }
    return true;
}

} // namespace

bool IsSingleCombine(const CliOptions& options)
{
    return options.command == CliCommand::Combine && (options.source || options.outputDir);
}

bool ParseCliArguments(const QStringList& arguments, CliOptions& options, QString& problem)
{
    options = CliOptions();
    const std::optional<CliCommand> command =
        arguments.isEmpty() ? std::nullopt : CommandNamed(arguments.front());

    // The parser skips the first argument as the program's name.
    QCommandLineParser parser;
    parser.addOptions(AllOptions);
    QStringList parsed = arguments;
    if (!command)
        parsed.prepend(QString());
    const bool understood = parser.parse(parsed);
    // --help, then --version, win wherever they stand before "--", whatever else is wrong.
    if (parser.isSet(HelpOption) || parser.isSet(VersionOption)) {
        options.command = parser.isSet(HelpOption) ? CliCommand::Help : CliCommand::Version;
        return true;
    }
    if (!command) {
        if (arguments.isEmpty() || arguments.front().startsWith(u'-'))
            problem = CliText::NoCommand;
        else
            problem = CliText::UnknownCommand.arg(arguments.front());
        return false;
    }
    if (!understood) {
        problem = parser.errorText();
        return false;
    }
    // A plain value: GCC's -O2 flow analysis takes the optional's payload for uninitialised.
    const CliCommand chosen = command.value_or(CliCommand::Help);
    options.command = chosen;
    return CheckOptionsGoWith(parser, chosen, arguments.front(), problem) &&
           ReadCommandOptions(parser, options, problem);
}

} // namespace kovrant
