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
inline const QString ConvertDescription = QStringLiteral(
    "Converts each FILE into FORMAT, written to DIR (default: FILE's folder)/BASE + the format's "
    "extension. To lrc, elrc, ass and vtt, FILE is time-tagged lyrics, or a TTD file (TTD10 at "
    "its start), which is first combined with the source lyrics beside it; to tags, FILE is an "
    "LRC, enhanced LRC, ASS or WebVTT file, recognised by its content.");
inline const QString RetimeDescription = QStringLiteral(
    "Carries the timing of OLD (time-tagged lyrics, or a TTD file combined first) to NEW, the "
    "edited lyrics as plain text, written to DIR (default: NEW's folder)/BASE of NEW + lyrics "
    "extension in NEW's encoding. Tag groups that lose their place and new text left without "
    "timing are reported on stderr; a time is never invented.");

// The end of the help; %1 and %2 are the batch jobs' size limits, %3 that of a file named alone.
inline const QString Notes =
    QStringLiteral(R"(An extension may be given with or without its leading dot: LRC, .LRC and
..LRC all mean .LRC; its case is kept. Inputs of divide and combine are
limited to %1 bytes (TTD files to %2), except with --source or
--output-dir; convert and retime read files of up to %3 bytes.
Outputs keep the encoding of the file their text comes from;
TTD files are code page 932, or UTF-8 only when an attribute needs it.
convert writes LRC, ASS and WebVTT in UTF-8 without a byte-order mark, with
LF line breaks in WebVTT and CRLF in the others, and time-tagged lyrics in
code page 932, or in UTF-8 with a byte-order mark when code page 932 cannot
hold them. retime writes in NEW's encoding.
Without --overwrite, an existing output is replaced only when you answer y on
a terminal; otherwise it is kept and its file counts as not gone through.
No output ever replaces an input of the same run.
Every file that fails gives one line on stderr that names it, such as
  song.TTD: Error:CRCが一致しませんでした
Exit status: 0 when every file went through, 1 when any failed or was not
replaced (with retime --strict, also when any timing was lost), 2 for a
usage error.
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
    QStringLiteral("no command given: divide, combine, rename, convert or retime comes first");
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
inline const QString NeedsFormat = QStringLiteral("convert needs --to FORMAT");
// %1 lists the formats.
inline const QString BadFormat = QStringLiteral("--to takes %1, not '%2'");
// %1 is the largest shift.
inline const QString BadShift =
    QStringLiteral("--shift takes whole milliseconds from -%1 to %1, not '%2'");
inline const QString RetimeNeedsTwoFiles = QStringLiteral("retime takes two files, OLD and NEW");
inline const QString SameExtension = QStringLiteral("%1 and %2 name the same extension");
inline const QString OwnOutput = QStringLiteral(
    "%1 would be replaced by an output of this run; choose other extensions or files");

} // namespace kovrant::CliText
