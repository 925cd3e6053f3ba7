// Every text the jobs' conversations show in the window, pinned once, as the user sees it.
#include "jobs/messages.h"
#include "ui/messagetexts.h"

#include <QtTest>

#include <cerrno>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestMessageTexts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& text, const QString& expected) {
            QTest::newRow(name) << text << expected;
        };
        const QString path = u"/k/歌/song.TTD"_s;
        const QString song = u"song.TTD\r\n"_s; // a file is named without its folder
        row("an error: the file's name, then Error: and the code's message, no space between",
            FileErrorMessage(path, ResultCode::CrcMismatch),
            song + u"Error:"_s + ErrorMessage(ResultCode::CrcMismatch));
        row("the overwrite question shows the full path", OverwriteMessage(path),
            path + u"\r\n上書きしますか?"_s);
        row("a bidirectional control in a name is shown, not obeyed",
            OverwriteMessage(u"/k/song\u202ECRL.TTD"_s).section(u"\r\n"_s, 0, 0),
            u"/k/song\\u202ECRL.TTD"_s);
        row("notice: not found", FileNoticeMessage(path, FileNotice::NotFound),
            song + u"ファイルが見つかりません"_s);
        row("notice: cannot read", FileNoticeMessage(path, FileNotice::CannotRead),
            song + u"ファイルが読みとれません"_s);
        row("notice: not saved", FileNoticeMessage(path, FileNotice::SaveFailed),
            song + u"保存に失敗しました"_s);
        row("notice: not valid in its encoding",
            FileNoticeMessage(path, FileNotice::InvalidEncoding),
            song + ErrorMessage(ResultCode::InvalidEncoding));
        row("details: where the bytes stop, a mark no part of the encoding's name",
            DetailsText({0, 1234, TextEncoding::Utf8Bom}),
            u"オフセット1234のバイトがUTF-8として正しくありません"_s);
        row("details: the system's reason", DetailsText({EACCES}), qt_error_string(EACCES));
        row("details: none", DetailsText({}), {});
        row("a folder is shown as typed", FolderNotFoundMessage(u"/k/out/"_s),
            u"/k/out/\r\nフォルダが見つかりません"_s);
        row("no output folder", OutputFolderMissingText(), u"出力フォルダを指定してください。"_s);
        row("an output on an input names the input with its folder",
            OwnOutputMessage(u"/k/a.lrc"_s),
            u"/k/a.lrc\r\n出力がこのファイルを置き換えてしまうため、何も書き込みませんでした。"
            u"出力フォルダを変えてください。"_s);
        CrcDiagnosis repaired;
        repaired.repairs = unsigned(Repair::TrailingSpaces) | unsigned(Repair::FullWidthToHalf);
        row("a proven repair is offered", RepairMessage(path, repaired),
            FileErrorMessage(path, ResultCode::CrcMismatch) +
                u"\r\n素材歌詞は次の修正で一致します："
                u"全角英数字を半角にする、行末の空白を取り除く\r\n修正した素材歌詞で結合しますか?"_s);
        CrcDiagnosis shape;
        shape.linesNeeded = 12;
        shape.sourceLines = 11;
        shape.shortLines = {{11, 10, 15}};
        row("where the source differs", MismatchDetails(shape),
            u"タイムタグデータは12行、素材歌詞は11行です\r\n"
            u"12行目：10文字ですが、タイムタグデータは15文字目の後にタグを置きます"_s);
        CrcDiagnosis large;
        large.repairsTried = false;
        large.linesNeeded = 2;
        large.sourceLines = 1;
        row("a source too long for repairs says so", MismatchDetails(large),
            u"タイムタグデータは2行、素材歌詞は1行です\r\n"
            u"素材歌詞が1000000文字を超えるため、修正で一致するかは調べていません"_s);
        shape.sourceLines = 12;
        shape.shortLines.clear();
        row("a shape that agrees: only characters differ", MismatchDetails(shape),
            u"行数は一致し、どのタグも行の長さに収まります。文字が変更されています。\r\n"
            u"編集した歌詞には「タイミングを引き継ぐ...」（kovrant-cli retime）でタイミングを移せます。"_s);
        row("settings not saved", SettingsNotSavedMessage(u"/k/.config/Kovrant/Kovrant.ini"_s),
            u"/k/.config/Kovrant/Kovrant.ini\r\n設定を保存できませんでした"_s);
        row("summary: all ok", SummaryText(BatchSummary::AllOk), u"全て正常に処理できました。"_s);
        row("summary: errors", SummaryText(BatchSummary::SomeErrors),
            u"途中でエラーがありました。"_s);
        row("summary: no files", SummaryText(BatchSummary::NoFiles),
            u"処理対象ファイルがありませんでした。\r\n拡張子設定を再確認してください。"_s);
        row("summary: no new extension", SummaryText(BatchSummary::NoNewExtension),
            u"新拡張子が指定されていません。"_s);

        // A batch's details, and the status line after a job.
        BatchReport batch;
        batch.files = 3;
        batch.errors = 1;
        batch.failures = {{u"/k/a.TTD"_s, ResultCode::CrcMismatch}, {u"/k/b.LRC"_s, {}}};
        batch.written = {{u"/k/c.LRC"_s, TextEncoding::Utf8},
                         {u"/k/d.LRC"_s, TextEncoding::Cp932},
                         {u"/k/e.LRC"_s, TextEncoding::Utf8},
                         {u"/k/f.TXT"_s, TextEncoding::Utf16Le}};
        row("details: each failure with its full path, then the counts", SummaryDetails(batch),
            u"/k/a.TTD：Error:"_s + ErrorMessage(ResultCode::CrcMismatch) +
                u"\r\n/k/b.LRC：上書きしませんでした\r\n\r\n3件を処理、1件はエラー、1件は上書きせず"_s);
        row("status: the counts and the outputs not in code page 932", BatchStatus(batch),
            u"3件を処理、1件はエラー、1件は上書きせず（UTF-8の出力2件、UTF-16LEの出力1件）"_s);
        row("details and status of a batch that went through", SummaryDetails({.files = 2}),
            u"2件を処理しました"_s);
        row("no details for a batch of no files", SummaryDetails({}), QString());
        row("status: the output of the single combine",
            CombineStatus({.written = {batch.written[1]}}), u"d.LRC を書き込みました"_s);
        row("status: with its encoding", CombineStatus({.written = {batch.written[0]}}),
            u"c.LRC を書き込みました（UTF-8）"_s);
        row("status: nothing written", CombineStatus({}), u"何も書き込みませんでした"_s);
        row("status: files not taken", FilesNotTakenStatus(), u"ファイルを受け取れませんでした"_s);
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }
};

QTEST_GUILESS_MAIN(TestMessageTexts)
#include "tst_messagetexts.moc"
