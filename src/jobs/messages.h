#pragma once

#include "core/resultcode.h"

#include <QString>
#include <QStringView>

namespace kovrant {

// Every text the jobs show, as the user sees it.
namespace JobText {
inline constexpr QStringView LineBreak = u"\r\n";
inline constexpr QStringView ErrorPrefix = u"Error:";
inline constexpr QStringView Overwrite = u"上書きしますか?";

// The single combine.
inline constexpr QStringView OutputFolderMissing = u"出力フォルダを指定してください。";
inline constexpr QStringView FileNotFound = u"ファイルが見つかりません";
inline constexpr QStringView FolderNotFound = u"フォルダが見つかりません";
inline constexpr QStringView CannotRead = u"ファイルが読みとれません";
inline constexpr QStringView SaveFailed = u"保存に失敗しました";

// The batch driver's summaries.
inline constexpr QStringView AllOk = u"全て正常に処理できました。";
inline constexpr QStringView SomeErrors = u"途中でエラーがありました。";
inline constexpr QStringView NoFiles =
    u"処理対象ファイルがありませんでした。\r\n拡張子設定を再確認してください。";
inline constexpr QStringView NoNewExtension = u"新拡張子が指定されていません。";
} // namespace JobText

// The name a message shows for path: its file name, or the path itself when it has no folder.
QString DisplayName(const QString& path);

// DisplayName(path), CRLF, text.
QString FileMessage(const QString& path, QStringView text);

// The summary that ends a batch, by its all-ok flag.
QString BatchSummary(bool allOk);

} // namespace kovrant
