#pragma once

#include "jobs/userdialogs.h"

#include <QString>

namespace kovrant {

// "Kovrant": the window's caption and the title of every message box.
QString ApplicationTitle();

// The texts of the window's message boxes for the jobs' conversations: a file is named by its
// name without its folder, then CRLF and what is said of it.

// The full path, CRLF, "上書きしますか?".
QString OverwriteMessage(const QString& path);
// The file's name, CRLF, "Error:" and the code's message, with no space between.
QString FileErrorMessage(const QString& path, ResultCode code);
// The file's name, CRLF, the notice.
QString FileNoticeMessage(const QString& path, FileNotice notice);
// The folder as the user gave it, CRLF, "フォルダが見つかりません".
QString FolderNotFoundMessage(const QString& folder);
// The CRC error of the TTD file, CRLF, the repairs that make the source lyrics match, CRLF,
// whether to combine with the repaired text.
QString RepairMessage(const QString& ttdPath, const CrcDiagnosis& diagnosis);
// The details of a CRC error that no repair proves: one line each.
QString MismatchDetails(const CrcDiagnosis& diagnosis);

} // namespace kovrant
