#include "cli/cliargs.h"

#include "cli/clitexts.h"
#include "files/paths.h"
#include "jobs/extensionconversion.h"
#include "jobs/jobpaths.h"

#include <array>

namespace kovrant {

namespace {

enum class Opt {
    SourceExt,
    TtdExt,
    LyricsExt,
    NoCrcCheck,
    TimeRatio,
    Overwrite,
    Source,
    OutputDir,
    To,
    Verbose,
    Help,
    Version,
};

struct OptionEntry {
    const char16_t* name;
    Opt option;
    bool takesValue;
    // The commands the option goes with, as a set of bits of CliCommand.
    unsigned commands;
};

constexpr unsigned Bit(CliCommand command)
{
    return 1u << static_cast<unsigned>(command);
}

constexpr unsigned DivideBit = Bit(CliCommand::Divide);
constexpr unsigned CombineBit = Bit(CliCommand::Combine);
constexpr unsigned RenameBit = Bit(CliCommand::Rename);
constexpr unsigned AnyCommand = DivideBit | CombineBit | RenameBit;

constexpr std::array<OptionEntry, 12> Options{{
    {u"--source-ext", Opt::SourceExt, true, DivideBit | CombineBit},
    {u"--ttd-ext", Opt::TtdExt, true, DivideBit},
    {u"--lyrics-ext", Opt::LyricsExt, true, CombineBit},
    {u"--no-crc-check", Opt::NoCrcCheck, false, CombineBit},
    {u"--time-ratio", Opt::TimeRatio, true, CombineBit},
    {u"--overwrite", Opt::Overwrite, false, DivideBit | CombineBit},
    {u"--source", Opt::Source, true, CombineBit},
    {u"--output-dir", Opt::OutputDir, true, CombineBit},
    {u"--to", Opt::To, true, RenameBit},
    {u"--verbose", Opt::Verbose, false, AnyCommand},
    {u"--help", Opt::Help, false, AnyCommand},
    {u"--version", Opt::Version, false, AnyCommand},
}};

const OptionEntry* FindOption(QStringView name)
{
    for (const OptionEntry& entry : Options) {
        if (name == QStringView(entry.name))
            return &entry;
    }
    return nullptr;
}

bool IsOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(u'-');
}

QString Text(QStringView pattern, const QString& a)
{
    return pattern.toString().arg(a);
}

QString Text(QStringView pattern, const QString& a, const QString& b)
{
    return pattern.toString().arg(a, b);
}

bool ParseTimeRatio(const QString& value, TimeRatioChoice& choice)
{
    if (value == u"none")
        choice = TimeRatioChoice::Unchanged;
    else if (value == u"1")
        choice = TimeRatioChoice::Ratio1;
    else if (value == u"0.9953125")
        choice = TimeRatioChoice::Ratio0_9953125;
    else
        return false;
    return true;
}

bool ParseCommand(const QString& word, CliCommand& command)
{
    if (word == u"divide")
        command = CliCommand::Divide;
    else if (word == u"combine")
        command = CliCommand::Combine;
    else if (word == u"rename")
        command = CliCommand::Rename;
    else
        return false;
    return true;
}

// Stores one option's value; false with the problem for a value it cannot take.
bool ApplyOption(Opt option, const QString& value, CliOptions& options, bool& haveNewExtension,
                 QString& problem)
{
    const auto extension = [&](QString& target) {
        if (NormaliseExtension(value, target))
            return true;
        problem = Text(CliText::NotAnExtension, value);
        return false;
    };
    switch (option) {
    case Opt::SourceExt:
        return extension(options.sourceExtension);
    case Opt::TtdExt:
        return extension(options.ttdExtension);
    case Opt::LyricsExt:
        return extension(options.lyricsExtension);
    case Opt::NoCrcCheck:
        options.noCrcCheck = true;
        return true;
    case Opt::TimeRatio:
        if (ParseTimeRatio(value, options.timeRatio))
            return true;
        problem = Text(CliText::BadTimeRatio, value);
        return false;
    case Opt::Overwrite:
        options.overwrite = true;
        return true;
    case Opt::Source:
    case Opt::OutputDir:
        // A path given, however short, is never the null text that means "not given".
        if (value.isEmpty()) {
            problem = CliText::EmptyFileName.toString();
            return false;
        }
        (option == Opt::Source ? options.source : options.outputDir) = value;
        return true;
    case Opt::To:
        haveNewExtension = true;
        if (NormaliseNewExtension(value, options.newExtension))
            return true;
        problem = Text(CliText::NotAnExtension, value);
        return false;
    case Opt::Verbose:
        options.verbose = true;
        return true;
    case Opt::Help:
    case Opt::Version:
        return true;
    }
    return true;
}

bool SameExtension(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Checks what the options say as a whole, once every argument is read.
bool CheckOptions(const CliOptions& options, bool haveNewExtension, QString& problem)
{
    if (options.files.isEmpty()) {
        problem = CliText::NoFiles.toString();
        return false;
    }
    if (options.files.contains(QString())) {
        problem = CliText::EmptyFileName.toString();
        return false;
    }
    switch (options.command) {
    case CliCommand::Divide:
        if (SameExtension(options.sourceExtension, options.ttdExtension)) {
            problem = Text(CliText::SameExtension, QStringLiteral("--source-ext"),
                           QStringLiteral("--ttd-ext"));
            return false;
        }
        break;
    case CliCommand::Combine:
        if (SameExtension(options.sourceExtension, options.lyricsExtension)) {
            problem = Text(CliText::SameExtension, QStringLiteral("--source-ext"),
                           QStringLiteral("--lyrics-ext"));
            return false;
        }
        if (!options.source.isNull() && options.files.size() != 1) {
            problem = CliText::SourceNeedsOneFile.toString();
            return false;
        }
        break;
    case CliCommand::Rename:
        if (!haveNewExtension) {
            problem = CliText::NeedsNewExtension.toString();
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

bool NormaliseExtension(const QString& argument, QString& extension)
{
    QString bare;
    if (!NormaliseNewExtension(argument, bare))
        return false;
    extension = u'.' + bare;
    return true;
}

bool NormaliseNewExtension(const QString& argument, QString& extension)
{
    const QString bare = StripLeadingDots(argument);
    if (!IsExtensionText(bare))
        return false;
    extension = bare;
    return true;
}

bool IsSingleCombine(const CliOptions& options)
{
    return options.command == CliCommand::Combine &&
           (!options.source.isNull() || !options.outputDir.isNull());
}

bool ParseCliArguments(const QStringList& arguments, CliOptions& options, QString& problem)
{
    options = CliOptions();
    // --help, then --version, win wherever they stand before "--", whatever else is wrong.
    bool version = false;
    for (const QString& argument : arguments) {
        if (argument == u"--")
            break;
        if (argument == u"--help") {
            options.command = CliCommand::Help;
            return true;
        }
        version |= argument == u"--version";
    }
    if (version) {
        options.command = CliCommand::Version;
        return true;
    }

    if (arguments.isEmpty()) {
        problem = CliText::NoCommand.toString();
        return false;
    }
    const QString& word = arguments.front();
    if (IsOption(word)) {
        problem = FindOption(word.section(u'=', 0, 0)) ? CliText::NoCommand.toString()
                                                       : Text(CliText::UnknownOption, word);
        return false;
    }
    if (!ParseCommand(word, options.command)) {
        problem = Text(CliText::UnknownCommand, word);
        return false;
    }

    bool haveNewExtension = false;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !IsOption(argument)) {
            options.files.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.left(equals);
        const OptionEntry* entry = FindOption(name);
        if (!entry) {
            problem = Text(CliText::UnknownOption, name);
            return false;
        }
        if (!(entry->commands & Bit(options.command))) {
            problem = Text(CliText::OptionNotForCommand, name, word);
            return false;
        }
        QString value;
        if (equals >= 0) {
            if (!entry->takesValue) {
                problem = Text(CliText::TakesNoValue, name);
                return false;
            }
            value = argument.mid(equals + 1);
        } else if (entry->takesValue) {
            if (i + 1 >= arguments.size()) {
                problem = Text(CliText::NeedsValue, name);
                return false;
            }
            value = arguments[++i];
        }
        if (!ApplyOption(entry->option, value, options, haveNewExtension, problem))
            return false;
    }
    return CheckOptions(options, haveNewExtension, problem);
}

} // namespace kovrant
