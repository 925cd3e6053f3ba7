#include "core/resultcode.h"

#include <QCoreApplication>

#include <array>

namespace kovrant {

namespace {

struct Entry {
    ResultCode code;
    const char* text;
};

constexpr std::array<Entry, 17> Messages{{
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
}};

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
