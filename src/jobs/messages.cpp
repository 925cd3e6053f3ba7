#include "jobs/messages.h"

#include "files/paths.h"

#include <QCoreApplication>

namespace kovrant {

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("JobText", text);
}

} // namespace

QString ErrorPrefix()
{
    return Tr(QT_TRANSLATE_NOOP("JobText", "Error:"));
}

QString OverwriteQuestion()
{
    return Tr(QT_TRANSLATE_NOOP("JobText", "上書きしますか?"));
}

QString FolderNotFoundText()
{
    return Tr(QT_TRANSLATE_NOOP("JobText", "フォルダが見つかりません"));
}

QString OutputFolderMissingText()
{
    return Tr(QT_TRANSLATE_NOOP("JobText", "出力フォルダを指定してください。"));
}

QString NoticeText(FileNotice notice)
{
    switch (notice) {
    case FileNotice::NotFound:
        return ErrorMessage(ResultCode::FileNotFound);
    case FileNotice::CannotRead:
        return Tr(QT_TRANSLATE_NOOP("JobText", "ファイルが読みとれません"));
    case FileNotice::TooLarge:
        return ErrorMessage(ResultCode::FileTooLarge);
    case FileNotice::SaveFailed:
        return ErrorMessage(ResultCode::SaveFailed);
    }
    return QString();
}

QString SummaryText(BatchSummary summary)
{
    switch (summary) {
    case BatchSummary::AllOk:
        return Tr(QT_TRANSLATE_NOOP("JobText", "全て正常に処理できました。"));
    case BatchSummary::SomeErrors:
        return Tr(QT_TRANSLATE_NOOP("JobText", "途中でエラーがありました。"));
    case BatchSummary::NoFiles:
        return Tr(QT_TRANSLATE_NOOP(
            "JobText", "処理対象ファイルがありませんでした。\r\n拡張子設定を再確認してください。"));
    case BatchSummary::NoNewExtension:
        return Tr(QT_TRANSLATE_NOOP("JobText", "新拡張子が指定されていません。"));
    }
    return QString();
}

QString DisplayName(const QString& path)
{
    // A path without a folder would otherwise be named by the empty text.
    if (!path.contains(PlatformSeparator))
        return path;
    return FileNamePart(path);
}

} // namespace kovrant
