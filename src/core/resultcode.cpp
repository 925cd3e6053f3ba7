#include "core/resultcode.h"

#include <array>

namespace kovrant {

namespace {

struct Entry {
    ResultCode code;
    const char16_t* text;
};

constexpr std::array<Entry, 13> Messages{{
    {Result::InvalidTaggedLyrics, u"タイムタグ付き歌詞ファイルが不正です"},
    {Result::NoValidTimeTag, u"有効なタイムタグが付いていません"},
    {Result::CrcUnavailable, u"CRCの取得に失敗しました"},
    {Result::FileNotFound, u"ファイルが見つかりません"},
    {Result::FileTooLarge, u"ファイルが大きすぎます"},
    {Result::ReadFailed, u"読み込みに失敗しました"},
    {Result::FileEmpty, u"ファイルが空です"},
    {Result::SaveFailed, u"保存に失敗しました"},
    {Result::InvalidTtd, u"ファイル形式が不正です"},
    {Result::EmptySourceLyrics, u"ファイル形式が不正です"},
    {Result::CrcMismatch, u"CRCが一致しませんでした"},
    {Result::TargetExists, u"すでにその名前のファイルが存在します"},
    {Result::RenameFailed, u"リネームできませんでした"},
}};

} // namespace

QString ErrorMessage(ResultCode code)
{
    for (const Entry& entry : Messages) {
        if (entry.code == code)
            return QString::fromUtf16(entry.text);
    }
    return QString();
}

} // namespace kovrant
