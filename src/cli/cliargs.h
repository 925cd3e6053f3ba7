#pragma once

#include "core/lyricsconversion.h"
#include "core/textencoding.h"
#include "core/timeratio.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <optional>

namespace kovrant {

enum class CliCommand { Help, Version, Divide, Combine, Rename, Convert, Retime };

// A command line as kovrant-cli understood it. Extensions carry exactly one leading dot, except
// newExtension, which carries none. retime's files are OLD and NEW, in that order.
struct CliOptions {
    CliCommand command = CliCommand::Help;
    QString sourceExtension = QStringLiteral(".TXT");
    QString ttdExtension = QStringLiteral(".TTD");
    QString lyricsExtension = QStringLiteral(".LRC");
    bool noCrcCheck = false;
    bool repair = false;
    TimeRatioChoice timeRatio = TimeRatioChoice::Unchanged;
    Recognition recognition = Recognition::Automatic;
    bool overwrite = false;
    bool verbose = false;
    std::optional<QString> source;    // combine --source
    std::optional<QString> outputDir; // combine, convert and retime --output-dir
    QString newExtension;
    LyricsFormat format = LyricsFormat::Lrc; // convert --to
    qint32 shiftMs = 0;                      // convert --shift, within MaxTimeTagMs either way
    bool strict = false;                     // retime --strict
    QStringList files;
};

// Parses the arguments that follow the program name. On a usage error gives false and a
// one-line description of the problem; options then holds nothing of use.
bool ParseCliArguments(const QStringList& arguments, CliOptions& options, QString& problem);

// kovrant-cli --help: the synopsis of each command and the list of options, made from the
// parser's options and their descriptions, then what each command does and the notes.
QString CliHelpText();

// Every option the parser knows, in the order the help lists them.
const QList<QCommandLineOption>& CliOptionList();

// True when combine works as the single combine (with --source or --output-dir).
bool IsSingleCombine(const CliOptions& options);

} // namespace kovrant
