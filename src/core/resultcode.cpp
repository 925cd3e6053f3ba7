#include "core/resultcode.h"

#include <QCoreApplication>

namespace kovrant {

namespace {

struct Entry {
    ResultCode code;
    const char* text;
};

constexpr Entry Messages[] = {
    {ResultCode::InvalidTaggedLyrics,
     QT_TRANSLATE_NOOP("ResultCode", "タイムタグ付き歌詞ファイルが不正です")},
    {ResultCode::NoValidTimeTag,
     QT_TRANSLATE_NOOP("ResultCode", "有効なタイムタグが付いていません")},
    {ResultCode::CrcUnavailable, QT_TRANSLATE_NOOP("ResultCode", "CRCの取得に失敗しました")},
    {ResultCode::FileNotFound, QT_TRANSLATE_NOOP("ResultCode", "ファイルが見つかりません")},
    {ResultCode::FileTooLarge, QT_TRANSLATE_NOOP("ResultCode", "ファイルが大きすぎます")},
    {ResultCode::ReadFailed, QT_TRANSLATE_NOOP("ResultCode", "読み込みに失敗しました")},
    {ResultCode::FileEmpty, QT_TRANSLATE_NOOP("ResultCode", "ファイルが空です")},
    {ResultCode::SaveFailed, QT_TRANSLATE_NOOP("ResultCode", "保存に失敗しました")},
    {ResultCode::InvalidFileName,
     QT_TRANSLATE_NOOP("ResultCode", "ファイル名の文字コードが不正です")},
    {ResultCode::WrittenThisRun,
     QT_TRANSLATE_NOOP("ResultCode", "この処理ですでに出力したファイルです")},
    {ResultCode::NameTooLong, QT_TRANSLATE_NOOP("ResultCode", "ファイル名が長すぎます")},
    {ResultCode::InvalidEncoding, QT_TRANSLATE_NOOP("ResultCode", "文字コードが正しくありません")},
    {ResultCode::InvalidTtd, QT_TRANSLATE_NOOP("ResultCode", "ファイル形式が不正です")},
    {ResultCode::EmptySourceLyrics, QT_TRANSLATE_NOOP("ResultCode", "ファイル形式が不正です")},
    {ResultCode::CrcMismatch, QT_TRANSLATE_NOOP("ResultCode", "CRCが一致しませんでした")},
    {ResultCode::AmbiguousEncoding,
     QT_TRANSLATE_NOOP("ResultCode",
                       "素材歌詞はCP932としてもUTF-8としても読め、タグの位置が異なります")},
    {ResultCode::TargetExists,
     QT_TRANSLATE_NOOP("ResultCode", "すでにその名前のファイルが存在します")},
    {ResultCode::RenameFailed, QT_TRANSLATE_NOOP("ResultCode", "リネームできませんでした")},
    {ResultCode::NoTimeTagToConvert,
     QT_TRANSLATE_NOOP("ResultCode", "変換するタイムタグがありません")},
    {ResultCode::UnknownLyricsFormat,
     QT_TRANSLATE_NOOP("ResultCode", "LRC・ASS・WebVTTのどの形式でもありません")},
    {ResultCode::InvalidAss, QT_TRANSLATE_NOOP("ResultCode", "ASSファイルが壊れています")},
    {ResultCode::TimeBeyondLimit,
     QT_TRANSLATE_NOOP("ResultCode", "99:59.99を超える時刻があります")},
    {ResultCode::AlreadyTimeTagged,
     QT_TRANSLATE_NOOP("ResultCode", "タイムタグ付き歌詞はタイムタグに変換できません")},
    {ResultCode::NoTimedLine, QT_TRANSLATE_NOOP("ResultCode", "時刻の付いた行がありません")},
    {ResultCode::RetimeTooDifferent,
     QT_TRANSLATE_NOOP("ResultCode", "テキストの違いが大きすぎてタイミングを引き継げません")},
    {ResultCode::RetimeNoTimeTag,
     QT_TRANSLATE_NOOP("ResultCode", "元の歌詞に有効なタイムタグがありません")},
    {ResultCode::RetimeEmptyText,
     QT_TRANSLATE_NOOP("ResultCode", "新しい歌詞にタイミングを付ける文字がありません")},
    {ResultCode::RetimeIncomplete,
     QT_TRANSLATE_NOOP("ResultCode", "引き継げないタイミングがあるため保存しませんでした")},
};

} // namespace

QString ErrorMessage(ResultCode code)
{
    for (const Entry& entry : Messages) {
        if (entry.code == code)
            return QCoreApplication::translate("ResultCode", entry.text);
    }
    return QString();
}

} // namespace kovrant
