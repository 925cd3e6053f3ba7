#pragma once

#include "jobs/userdialogs.h"
#include "ui/batchreport.h"

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
// The input's full path, CRLF, that an output of the run would replace it and nothing was done.
QString OwnOutputMessage(const QString& input);
// The settings file's path, CRLF, "設定を保存できませんでした".
QString SettingsNotSavedMessage(const QString& path);

// The details of a batch's summary: a line for each file that failed, with its error, then an
// empty line and the counts; "" for a batch that processed no file.
QString SummaryDetails(const BatchReport& report);

// What the status line says of the last job. A batch: its counts ("3件を処理、1件はエラー")
// and the outputs in encodings other than code page 932.
QString BatchStatus(const BatchReport& report);
// The single combine: the name of the output it wrote, with its encoding unless code page 932,
// or that it wrote nothing.
QString CombineStatus(const BatchReport& report);
// Files handed to the window that its current mode did not take.
QString FilesNotTakenStatus();

} // namespace kovrant
