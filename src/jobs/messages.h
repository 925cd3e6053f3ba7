#pragma once

#include "jobs/userdialogs.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace kovrant {

// The texts of the jobs' conversations, translated for the user. The codes' messages come from
// ErrorMessage; each front end lays these pieces out in its own form.

// The line break of the window's messages, between a file's name and what is said of it.
inline constexpr QStringView MessageLineBreak = u"\r\n";

QString ErrorPrefix();        // "Error:", directly followed by the code's message
QString OverwriteQuestion();  // "上書きしますか?", after the full path
QString FolderNotFoundText(); // after the output folder as typed
QString OutputFolderMissingText();
QString NoticeText(FileNotice notice);
// What a message says of a failed read beyond its first line: where the bytes stop being text in
// their encoding, or the system's reason; "" when there is nothing more to say.
QString DetailsText(const FileErrorDetails& details);
QString SummaryText(BatchSummary summary);

// The repairs that make source lyrics match, as one sentence.
QString RepairText(Repairs repairs);
// Whether to combine with the repaired text.
QString RepairQuestion();
// True when the source lyrics have the lines a TTD needs and every tag's column fits its line:
// then only their characters can differ.
bool ShapeAgrees(const CrcDiagnosis& diagnosis);
// Where source lyrics differ from what a TTD needs: the lines it needs against the source's, a
// line saying so when the source was too long for repairs to be looked for, then one line for
// each line that is shorter than a tag's column; for a shape that agrees, that it does and that
// characters have been changed.
QStringList ShapeReport(const CrcDiagnosis& diagnosis);

// What a retime says beyond its counts, one line each: every tag taken out of the new text,
// every group dropped, every piece of text left untimed.
QStringList RetimeReportLines(const RetimeResult& result);
// The counts of a retime.
QString RetimeCountsText(const RetimeResult& result);

// The name a message shows for path: its file name, or the path itself when it has no folder.
QString DisplayName(const QString& path);

} // namespace kovrant
