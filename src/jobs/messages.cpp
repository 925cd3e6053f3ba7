#include "jobs/messages.h"

#include "files/paths.h"

#include <QCoreApplication>

#include <array>

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
    case FileNotice::InvalidEncoding:
        return ErrorMessage(ResultCode::InvalidEncoding);
    }
    return QString();
}

QString DetailsText(const FileErrorDetails& details)
{
    if (details.invalidByte >= 0) {
        // Whether the file had a byte-order mark is no part of what its bytes are valid in.
        const TextEncoding encoding =
            details.encoding == TextEncoding::Utf8Bom ? TextEncoding::Utf8 : details.encoding;
        return Tr(QT_TRANSLATE_NOOP("JobText", "オフセット%1のバイトが%2として正しくありません"))
            .arg(details.invalidByte)
            .arg(EncodingName(encoding));
    }
    if (details.systemError != 0)
        return qt_error_string(details.systemError);
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

QString RepairText(Repairs repairs)
{
    // In the order the repairs are applied.
    static constexpr std::array<std::pair<Repair, const char*>, 5> Names{{
        {Repair::MarksLeft, QT_TRANSLATE_NOOP("JobText", "BOMと末尾のEOF文字を取り除く")},
        {Repair::FullWidthToHalf, QT_TRANSLATE_NOOP("JobText", "全角英数字を半角にする")},
        {Repair::HalfWidthToFull, QT_TRANSLATE_NOOP("JobText", "半角英数字を全角にする")},
        {Repair::TrailingSpaces, QT_TRANSLATE_NOOP("JobText", "行末の空白を取り除く")},
        {Repair::EmptyLineRuns, QT_TRANSLATE_NOOP("JobText", "続く空行を1行にする")},
    }};
    QStringList parts;
    for (const auto& [repair, name] : Names) {
        if (repairs & unsigned(repair))
            parts << Tr(name);
    }
    return Tr(QT_TRANSLATE_NOOP("JobText", "素材歌詞は次の修正で一致します：%1"))
        .arg(parts.join(Tr(QT_TRANSLATE_NOOP("JobText", "、"))));
}

QString RepairQuestion()
{
    return Tr(QT_TRANSLATE_NOOP("JobText", "修正した素材歌詞で結合しますか?"));
}

bool ShapeAgrees(const CrcDiagnosis& diagnosis)
{
    return diagnosis.linesNeeded == diagnosis.sourceLines && diagnosis.shortLines.empty();
}

QStringList ShapeReport(const CrcDiagnosis& diagnosis)
{
    QStringList lines;
    if (ShapeAgrees(diagnosis)) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText", "行数は一致し、どのタグも行の長さに収まります。"
                                                 "文字が変更されています。"))
              << Tr(QT_TRANSLATE_NOOP("JobText",
                                      "編集した歌詞には「タイミングを引き継ぐ...」（kovrant-cli "
                                      "retime）でタイミングを移せます。"));
    } else {
        lines << Tr(QT_TRANSLATE_NOOP("JobText", "タイムタグデータは%1行、素材歌詞は%2行です"))
                     .arg(diagnosis.linesNeeded)
                     .arg(diagnosis.sourceLines);
    }
    if (!diagnosis.repairsTried) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText", "素材歌詞が%1文字を超えるため、修正で一致するかは"
                                                 "調べていません"))
                     .arg(MaxRepairedLength);
    }
    for (const CrcDiagnosis::ShortLine& line : diagnosis.shortLines) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText",
                                      "%1行目：%2文字ですが、タイムタグデータは%3文字目の後に"
                                      "タグを置きます"))
                     .arg(line.line + 1)
                     .arg(line.length)
                     .arg(line.column);
    }
    return lines;
}

QStringList RetimeReportLines(const RetimeResult& result)
{
    QStringList lines;
    for (const RemovedTag& tag : result.removedFromNew) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText",
                                      "新しい歌詞の%2行目、%3文字目のタグ%1を取り除きました"))
                     .arg(tag.tag)
                     .arg(tag.line)
                     .arg(tag.column);
    }
    for (const DroppedGroup& group : result.dropped) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText",
                                      "元の歌詞の%2行目、%3文字目のタグ%1を引き継げませんでした"))
                     .arg(group.tags)
                     .arg(group.line)
                     .arg(group.column);
    }
    for (const UntimedText& untimed : result.untimed) {
        lines << Tr(QT_TRANSLATE_NOOP("JobText", "%1行目にタイミングのない文字があります：%2"))
                     .arg(untimed.line)
                     .arg(untimed.text);
    }
    return lines;
}

QString RetimeCountsText(const RetimeResult& result)
{
    return Tr(QT_TRANSLATE_NOOP("JobText",
                                "引き継いだタググループ%1、引き継げなかったタググループ%2、"
                                "タイミングのない箇所%3、取り除いたタグ%4"))
        .arg(result.carriedGroups)
        .arg(result.dropped.size())
        .arg(result.untimed.size())
        .arg(result.removedFromNew.size());
}

QString DisplayName(const QString& path)
{
    // A path without a folder would otherwise be named by the empty text.
    if (!path.contains(PlatformSeparator))
        return path;
    return FileNamePart(path);
}

} // namespace kovrant
