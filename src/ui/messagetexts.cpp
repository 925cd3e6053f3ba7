#include "ui/messagetexts.h"

#include "files/filenames.h"
#include "jobs/messages.h"

#include <QCoreApplication>
#include <QMap>

#include <algorithm>

namespace kovrant {

namespace {

QString TwoLines(const QString& first, const QString& second)
{
    QString text = first;
    text.append(MessageLineBreak);
    text.append(second);
    return text;
}

// A name whose bytes are not all UTF-8 shows them as "\xNN".
QString Name(const QString& path)
{
    return PrintableFileName(DisplayName(path));
}

QString Tr(const char* text)
{
    return QCoreApplication::translate("FormMain", text);
}

QString Counts(const BatchReport& report)
{
    QString counts = report.errors == 0
                         ? Tr(QT_TRANSLATE_NOOP("FormMain", "%1件を処理しました")).arg(report.files)
                         : Tr(QT_TRANSLATE_NOOP("FormMain", "%1件を処理、%2件はエラー"))
                               .arg(report.files)
                               .arg(report.errors);
    const auto kept = std::count_if(report.failures.cbegin(), report.failures.cend(),
                                    [](const BatchReport::Failure& f) { return !f.code; });
    if (kept > 0)
        counts += Tr(QT_TRANSLATE_NOOP("FormMain", "、%1件は上書きせず")).arg(kept);
    return counts;
}

QString InParentheses(const QString& text)
{
    return Tr(QT_TRANSLATE_NOOP("FormMain", "（%1）")).arg(text);
}

} // namespace

QString ApplicationTitle()
{
    return QCoreApplication::translate("FormMain", "Kovrant");
}

QString OverwriteMessage(const QString& path)
{
    return TwoLines(PrintableFileName(path), OverwriteQuestion());
}

QString FileErrorMessage(const QString& path, ResultCode code)
{
    return TwoLines(Name(path), ErrorPrefix() + ErrorMessage(code));
}

QString FileNoticeMessage(const QString& path, FileNotice notice)
{
    return TwoLines(Name(path), NoticeText(notice));
}

QString FolderNotFoundMessage(const QString& folder)
{
    return TwoLines(folder, FolderNotFoundText());
}

QString RepairMessage(const QString& ttdPath, const CrcDiagnosis& diagnosis)
{
    return TwoLines(
        TwoLines(FileErrorMessage(ttdPath, ResultCode::CrcMismatch), RepairText(diagnosis.repairs)),
        RepairQuestion());
}

QString MismatchDetails(const CrcDiagnosis& diagnosis)
{
    return ShapeReport(diagnosis).join(MessageLineBreak);
}

QString OwnOutputMessage(const QString& input)
{
    return TwoLines(PrintableFileName(input),
                    Tr(QT_TRANSLATE_NOOP("FormMain", "出力がこのファイルを置き換えてしまうため、"
                                                     "何も書き込みませんでした。出力フォルダを"
                                                     "変えてください。")));
}

QString SettingsNotSavedMessage(const QString& path)
{
    return TwoLines(PrintableFileName(path),
                    Tr(QT_TRANSLATE_NOOP("FormMain", "設定を保存できませんでした")));
}

QString SummaryDetails(const BatchReport& report)
{
    if (report.files == 0)
        return QString();
    QStringList lines;
    for (const BatchReport::Failure& failure : report.failures) {
        const QString what = failure.code
                                 ? ErrorPrefix() + ErrorMessage(*failure.code)
                                 : Tr(QT_TRANSLATE_NOOP("FormMain", "上書きしませんでした"));
        lines << Tr(QT_TRANSLATE_NOOP("FormMain", "%1：%2"))
                     .arg(PrintableFileName(failure.path), what);
    }
    if (!lines.isEmpty())
        lines << QString();
    lines << Counts(report);
    return lines.join(MessageLineBreak);
}

QString BatchStatus(const BatchReport& report)
{
    QMap<TextEncoding, qsizetype> others;
    for (const BatchReport::Output& output : report.written) {
        if (output.encoding != TextEncoding::Cp932)
            ++others[output.encoding];
    }
    QStringList parts;
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        parts << Tr(QT_TRANSLATE_NOOP("FormMain", "%1の出力%2件"))
                     .arg(EncodingName(it.key()))
                     .arg(it.value());
    const QString counts = Counts(report);
    if (parts.isEmpty())
        return counts;
    return counts + InParentheses(parts.join(Tr(QT_TRANSLATE_NOOP("FormMain", "、"))));
}

QString CombineStatus(const BatchReport& report)
{
    if (report.written.isEmpty())
        return Tr(QT_TRANSLATE_NOOP("FormMain", "何も書き込みませんでした"));
    const BatchReport::Output& output = report.written.constLast();
    const QString wrote =
        Tr(QT_TRANSLATE_NOOP("FormMain", "%1 を書き込みました")).arg(Name(output.path));
    if (output.encoding == TextEncoding::Cp932)
        return wrote;
    return wrote + InParentheses(EncodingName(output.encoding));
}

QString FilesNotTakenStatus()
{
    return Tr(QT_TRANSLATE_NOOP("FormMain", "ファイルを受け取れませんでした"));
}

} // namespace kovrant
