#include "cli/cliargs.h"

#include "cli/clitexts.h"
#include "core/timetag.h"
#include "files/textfiles.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"

#include <QCommandLineParser>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace kovrant {

namespace {

const CliOptions Defaults;

// The formats convert writes, by the names --to takes, in the order the help gives them.
constexpr std::pair<QStringView, LyricsFormat> FormatNames[]{
    {u"lrc", LyricsFormat::Lrc},   {u"elrc", LyricsFormat::EnhancedLrc},
    {u"ass", LyricsFormat::Ass},   {u"vtt", LyricsFormat::WebVtt},
    {u"tags", LyricsFormat::Tags},
};

// "lrc, elrc, ass, vtt or tags".
QString FormatNameList()
{
    QStringList names;
    for (const auto& [name, format] : FormatNames)
        names << name.toString();
    const QString last = names.takeLast();
    return names.join(u", "_s) + u" or "_s + last;
}

// The options of every command, each with what the help says of it; each command's parser takes
// those it goes with.
const QCommandLineOption HelpOption(u"help"_s, u"show this help"_s);
const QCommandLineOption VersionOption(u"version"_s, u"show the version"_s);
const QCommandLineOption VerboseOption(
    u"verbose"_s,
    u"list every file written or renamed on stdout, with its encoding when that is not code page 932"_s);
const QCommandLineOption OverwriteOption(u"overwrite"_s,
                                         u"replace existing outputs without asking"_s);
const QCommandLineOption NoCrcCheckOption(u"no-crc-check"_s,
                                          u"combine without comparing the CRC"_s);
const QCommandLineOption RepairOption(
    u"repair"_s,
    u"when the CRC does not match but a small repair of the source lyrics (spaces at line ends, "
    u"full- or half-width letters and digits, runs of empty lines, a byte-order mark or "
    u"end-of-file character left in) makes it match, combine with the repaired text; the file is "
    u"not changed"_s);
const QCommandLineOption SourceExtOption(
    u"source-ext"_s,
    u"extension of source lyrics files (default %1)"_s.arg(Defaults.sourceExtension), u"EXT"_s);
const QCommandLineOption
    TtdExtOption(u"ttd-ext"_s,
                 u"extension of time-tag data files (default %1)"_s.arg(Defaults.ttdExtension),
                 u"EXT"_s);
const QCommandLineOption LyricsExtOption(
    u"lyrics-ext"_s,
    u"extension of time-tagged lyrics files (default %1)"_s.arg(Defaults.lyricsExtension),
    u"EXT"_s);
const QCommandLineOption TimeRatioOption(
    u"time-ratio"_s,
    u"force @TimeRatio=1 or @TimeRatio=0.9953125 and rescale the times; none leaves them alone "
    u"(the default)"_s,
    u"none|1|0.9953125"_s);
const QCommandLineOption EncodingOption(
    u"encoding"_s,
    u"how inputs are read: auto (the default) follows a byte-order mark, else takes a text for "
    u"UTF-8 when it is valid UTF-8 and holds a character of three or four bytes, else code page "
    u"932; cp932 reads every input as code page 932; utf-8 reads every input without a "
    u"byte-order mark as UTF-8. TTD files without a byte-order mark are always code page 932"_s,
    u"auto|cp932|utf-8"_s);
const QCommandLineOption SourceOption(u"source"_s,
                                      u"the source lyrics file of the single TTDFILE"_s, u"FILE"_s);
const QCommandLineOption OutputDirOption(
    u"output-dir"_s,
    u"folder for the outputs of combine (then the single combine), convert and retime, instead of "
    u"beside each input (retime: beside NEW)"_s,
    u"DIR"_s);
// rename and convert both take --to, with values of their own; the parser knows one "to".
const QCommandLineOption RenameToOption(u"to"_s, u"rename: the new extension"_s, u"EXT"_s);
const QCommandLineOption ConvertToOption(
    u"to"_s,
    u"convert: the format written, %1: LRC with a time per line (.lrc), enhanced LRC with a time "
    u"per syllable (.lrc), ASS karaoke subtitles (.ass), WebVTT (.vtt), or time-tagged lyrics "
    u"(lyrics extension) from any of those"_s.arg(FormatNameList()),
    u"FORMAT"_s);
const QCommandLineOption ShiftOption(
    u"shift"_s,
    u"add MS milliseconds to every time (a negative MS takes them off), from -%1 to %1; a time "
    u"stays within 00:00.00 and 99:59.99"_s.arg(MaxTimeTagMs),
    u"MS"_s);
const QCommandLineOption StrictOption(
    u"strict"_s,
    u"write nothing, and fail, when a tag group of OLD is dropped or a text of NEW is left "
    u"without timing"_s);

// In the order the help lists them.
const QList<QCommandLineOption> AllOptions{
    SourceExtOption, TtdExtOption,    LyricsExtOption, NoCrcCheckOption, RepairOption,
    TimeRatioOption, OverwriteOption, EncodingOption,  SourceOption,     OutputDirOption,
    RenameToOption,  ConvertToOption, ShiftOption,     StrictOption,     VerboseOption,
    HelpOption,      VersionOption,
};

// What the parser is given: every name once.
QList<QCommandLineOption> ParserOptions()
{
    QList<QCommandLineOption> options;
    QStringList names;
    for (const QCommandLineOption& option : AllOptions) {
        if (!names.contains(option.names().constFirst())) {
            names << option.names();
            options << option;
        }
    }
    return options;
}

// The commands, in the order the help lists them, with the options each must have and those it
// may take besides --help, --version and --verbose, what its files are called, and what it does.
struct CommandRow {
    CliCommand command;
    QLatin1StringView word;
    QList<QCommandLineOption> required;
    QList<QCommandLineOption> options;
    QLatin1StringView files;
    const QString& description;
};

const QList<CommandRow>& Commands()
{
    static const QList<CommandRow> commands{
        {CliCommand::Divide,
         QLatin1StringView("divide"),
         {},
         {SourceExtOption, TtdExtOption, OverwriteOption, EncodingOption},
         QLatin1StringView("FILE..."),
         CliText::DivideDescription},
        {CliCommand::Combine,
         QLatin1StringView("combine"),
         {},
         {SourceExtOption, LyricsExtOption, NoCrcCheckOption, RepairOption, TimeRatioOption,
          OverwriteOption, EncodingOption, SourceOption, OutputDirOption},
         QLatin1StringView("TTDFILE..."),
         CliText::CombineDescription},
        {CliCommand::Rename,
         QLatin1StringView("rename"),
         {RenameToOption},
         {},
         QLatin1StringView("FILE..."),
         CliText::RenameDescription},
        {CliCommand::Convert,
         QLatin1StringView("convert"),
         {ConvertToOption},
         {ShiftOption, OutputDirOption, OverwriteOption, LyricsExtOption, SourceExtOption,
          RepairOption, EncodingOption},
         QLatin1StringView("FILE..."),
         CliText::ConvertDescription},
        {CliCommand::Retime,
         QLatin1StringView("retime"),
         {},
         {OutputDirOption, OverwriteOption, StrictOption, LyricsExtOption, SourceExtOption,
          RepairOption, EncodingOption},
         QLatin1StringView("OLD NEW"),
         CliText::RetimeDescription},
    };
    return commands;
}

const CommandRow* RowOf(CliCommand command)
{
    for (const CommandRow& row : Commands()) {
        if (row.command == command)
            return &row;
    }
    return nullptr;
}

// An option as the help names it: "--name" and its value's name.
QString Spelled(const QCommandLineOption& option)
{
    QString text = u"--"_s + option.names().constFirst();
    if (!option.valueName().isEmpty())
        text += u' ' + option.valueName();
    return text;
}

// Words laid out from column on, in lines of at most width characters; a line that has to be
// broken goes on at indent.
QString Wrapped(const QStringList& words, qsizetype column, qsizetype indent, qsizetype width)
{
    QString text;
    for (const QString& word : words) {
        if (!text.isEmpty()) {
            if (column + 1 + word.size() > width) {
                text += u'\n' + QString(indent, u' ');
                column = indent;
            } else {
                text += u' ';
                ++column;
            }
        }
        text += word;
        column += word.size();
    }
    return text;
}

constexpr qsizetype HelpWidth = 79;

// Every option given goes with the command.
bool CheckOptionsGoWith(const QCommandLineParser& parser, CliCommand command, const QString& word,
                        QString& problem)
{
    QStringList allowed{HelpOption.names() + VersionOption.names() + VerboseOption.names()};
    if (const CommandRow* row = RowOf(command)) {
        for (const QCommandLineOption& option : row->required + row->options)
            allowed << option.names();
    }
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
    for (const CommandRow& row : Commands()) {
        if (word == row.word)
            return row.command;
    }
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

std::optional<LyricsFormat> FormatNamed(const QString& value)
{
    for (const auto& [name, format] : FormatNames) {
        if (value == name)
            return format;
    }
    return std::nullopt;
}

// A whole number of milliseconds, signed or not, within MaxTimeTagMs either way: a larger shift
// would put every time at one end.
std::optional<qint32> ShiftNamed(const QString& value)
{
    static const QRegularExpression Number(u"^[+-]?[0-9]+$"_s);
    bool ok = false;
    const qlonglong shift = Number.match(value).hasMatch() ? value.toLongLong(&ok) : 0;
    if (!ok || shift < -MaxTimeTagMs || shift > MaxTimeTagMs)
        return std::nullopt;
    return qint32(shift);
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
    options.strict = parser.isSet(StrictOption);
    options.files = parser.positionalArguments();
    if (!ReadExtension(parser, SourceExtOption, options.sourceExtension, problem) ||
        !ReadExtension(parser, TtdExtOption, options.ttdExtension, problem) ||
        !ReadExtension(parser, LyricsExtOption, options.lyricsExtension, problem) ||
        (options.command == CliCommand::Rename &&
         !ReadExtension(parser, RenameToOption, options.newExtension, problem, QString())) ||
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
    if (options.command == CliCommand::Convert && parser.isSet(ConvertToOption)) {
        const QString value = parser.value(ConvertToOption);
        const std::optional<LyricsFormat> format = FormatNamed(value);
        if (!format) {
            problem = CliText::BadFormat.arg(FormatNameList(), value);
            return false;
        }
        options.format = *format;
    }
    if (parser.isSet(ShiftOption)) {
        const QString value = parser.value(ShiftOption);
        const std::optional<qint32> shift = ShiftNamed(value);
        if (!shift) {
            problem = CliText::BadShift.arg(MaxTimeTagMs).arg(value);
            return false;
        }
        options.shiftMs = *shift;
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
        if (!parser.isSet(RenameToOption)) {
            problem = CliText::NeedsNewExtension;
            return false;
        }
        break;
    case CliCommand::Convert:
        if (!parser.isSet(ConvertToOption)) {
            problem = CliText::NeedsFormat;
            return false;
        }
        break;
    case CliCommand::Retime:
        if (options.files.size() != 2) {
            problem = CliText::RetimeNeedsTwoFiles;
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

QString CliHelpText()
{
    const QString program = CliText::Program + u' ';
    qsizetype wordWidth = 0;
    for (const CommandRow& row : Commands())
        wordWidth = std::max(wordWidth, row.word.size());
    QString help = u"Usage:\n"_s;
    for (const CommandRow& row : Commands()) {
        // The options a command must have come first, the others in brackets.
        QStringList words{program + QString(row.word).leftJustified(wordWidth)};
        for (const QCommandLineOption& option : row.required)
            words << Spelled(option);
        for (const QCommandLineOption& option : row.options)
            words << u'[' + Spelled(option) + u']';
        words << row.files;
        help += u"  "_s + Wrapped(words, 2, 2 + program.size() + wordWidth + 1, HelpWidth) + u'\n';
    }
    help += u"  "_s + program + Spelled(HelpOption) + u" | "_s + Spelled(VersionOption) + u"\n\n"_s;

    for (const CommandRow& row : Commands()) {
        const QString head = QString(row.word).leftJustified(wordWidth + 3);
        help += head + Wrapped(row.description.split(u' '), head.size(), head.size(), HelpWidth) +
                u'\n';
    }

    help += u"\nOptions:\n"_s;
    constexpr qsizetype DescriptionColumn = 21;
    for (const QCommandLineOption& option : AllOptions) {
        QString head = u"  "_s + Spelled(option);
        head = head.size() + 2 > DescriptionColumn ? head + u'\n' + QString(DescriptionColumn, u' ')
                                                   : head.leftJustified(DescriptionColumn);
        help += head +
                Wrapped(option.description().split(u' '), DescriptionColumn, DescriptionColumn,
                        HelpWidth) +
                u'\n';
    }
    // The limits as the files layer enforces them.
    help +=
        u'\n' + CliText::Notes.arg(MaxInputFileSize).arg(MaxTtdFileSize).arg(MaxSingleCombineInput);
    return help;
}

const QList<QCommandLineOption>& CliOptionList()
{
    return AllOptions;
}

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
    parser.addOptions(ParserOptions());
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
