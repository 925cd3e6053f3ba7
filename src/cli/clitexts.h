#pragma once

#include <QString>

namespace kovrant::CliText {

// What each command does, for the help; the help's synopsis and option list come from the
// parser's options.
inline const QString DivideDescription = QStringLiteral(
    "Splits each time-tagged lyrics FILE into its source lyrics and its time-tag data, written "
    "beside it: FOLDER/BASE + source extension, then FOLDER/BASE + TTD extension.");
inline const QString CombineDescription = QStringLiteral(
    "Joins each time-tag data TTDFILE with the source lyrics beside it (FOLDER/BASE + source "
    "extension) into FOLDER/BASE + lyrics extension, after checking by the CRC that they belong "
    "together. With --source (one TTDFILE only) or --output-dir it works as the window's single "
    "combine: the source lyrics named, the output into DIR.");
inline const QString RenameDescription =
    QStringLiteral("Gives each FILE the extension EXT in place. Never replaces a file.");

// The end of the help; %1 and %2 are the batch jobs' size limits.
inline const QString Notes =
    QStringLiteral(R"(An extension may be given with or without its leading dot: LRC, .LRC and
..LRC all mean .LRC; its case is kept. Inputs of divide and combine are
limited to %1 bytes (TTD files to %2), except with --source or
--output-dir. Outputs keep the encoding of the file their text comes from;
TTD files are code page 932, or UTF-8 only when an attribute needs it.
Without --overwrite, an existing output is replaced only when you answer y on
a terminal; otherwise it is kept and its file counts as not gone through.
Every file that fails gives one line on stderr that names it, such as
  song.TTD: Error:CRCが一致しませんでした
Exit status: 0 when every file went through, 1 when any failed or was not
replaced, 2 for a usage error.
)");

inline const QString Program = QStringLiteral("kovrant-cli");
inline const QString TryHelp = QStringLiteral("Try 'kovrant-cli --help' for more information.");
inline const QString OverwritePrompt = QStringLiteral(" [y/N] ");
inline const QString NotReplaced = QStringLiteral("exists, not replaced (--overwrite replaces it)");
inline const QString Arrow = QStringLiteral(" -> ");
inline const QString RepairHint = QStringLiteral(" (--repair combines with them)");
inline const QString EncodingHint =
    QStringLiteral("--encoding cp932 or --encoding utf-8 says which reading is meant");
inline const QString OutputFailed = QStringLiteral("cannot write to standard output");

// Usage errors; %1 and %2 are arguments as given.
inline const QString NoCommand =
    QStringLiteral("no command given: divide, combine or rename comes first");
inline const QString UnknownCommand = QStringLiteral("unknown command '%1'");
inline const QString OptionNotForCommand = QStringLiteral("option '%1' does not go with %2");
inline const QString NoFiles = QStringLiteral("no files given");
inline const QString EmptyFileName = QStringLiteral("an empty file name was given");
inline const QString NotAnExtension = QStringLiteral("'%1' is not an extension");
inline const QString BadEncoding =
    QStringLiteral("--encoding takes auto, cp932 or utf-8, not '%1'");
inline const QString BadTimeRatio =
    QStringLiteral("--time-ratio takes none, 1 or 0.9953125, not '%1'");
inline const QString SourceNeedsOneFile = QStringLiteral("--source goes with one TTDFILE only");
inline const QString NeedsNewExtension = QStringLiteral("rename needs --to EXT");
inline const QString SameExtension = QStringLiteral("%1 and %2 name the same extension");
inline const QString OwnOutput = QStringLiteral(
    "%1 would be replaced by an output of this run; choose other extensions or files");

} // namespace kovrant::CliText
