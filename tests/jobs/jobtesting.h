#pragma once

// What the jobs' and kovrant-cli's tests share: a recorder behind the jobs' interfaces, and
// temporary folders described in one line, with contents made by the core.

#include "core/combine.h"
#include "core/cp932.h"
#include "core/divide.h"
#include "core/lyricsconversion.h"
#include "jobs/jobstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace kovrant::testing {

using namespace Qt::StringLiterals;
using Texts = QStringList;

// Keeps, in order, the jobs' conversations and what they do to the window, with paths relative
// to base: "NAME:CODE" for an error, "NAME?" for the overwrite question, "notice:NAME:N" (N: the
// FileNotice's number), each with ":ENCODING@OFFSET" or ":errno=N" when it has details,
// "repair:NAME:REPAIRS", "mismatch:NAME", "folder:TEXT", "no-output-folder", "summary:S" (S: the
// BatchSummary's number), "retime:NAME:C/D/U/R" (groups carried and dropped, texts untimed, tags
// removed), "hourglass:on", "enabled:off", "topmost:on", ... Answers come from
// answers, then No. Counts the calls that let pending events run and the files written.
class Recorder final : public UserDialogs, public WindowHooks, public JobLog {
public:
    QString base;
    Texts events;
    QList<bool> answers;
    std::function<void()> duringSummary; // runs while the summary is open
    std::function<void()> duringEvents;  // runs when a job lets pending events run
    int pendingEventRuns = 0;
    int filesWritten = 0;

    bool askOverwrite(const QString& p) override { return answer(p + u'?'); }
    void reportFileError(const QString& p, ResultCode c, const FileErrorDetails& d) override
    {
        put(p, int(c), d);
    }
    bool offerRepair(const QString& p, const CrcDiagnosis& d) override
    {
        return answer(u"repair:"_s + p, d.repairs);
    }
    void reportCrcMismatch(const QString& p, const CrcDiagnosis&) override
    {
        put(u"mismatch:"_s + p);
    }
    void reportFileNotice(const QString& p, FileNotice n, const FileErrorDetails& d) override
    {
        put(u"notice:"_s + p, int(n), d);
    }
    void reportFolderNotFound(const QString& folder) override { put(u"folder:"_s + folder); }
    void reportOutputFolderMissing() override { put(u"no-output-folder"_s); }
    void showSummary(BatchSummary summary) override
    {
        put(u"summary"_s, int(summary));
        if (duringSummary)
            duringSummary();
    }
    void reportRetime(const QString& p, const RetimeResult& r) override
    {
        put(u"retime:%1:%2/%3/%4/%5"_s.arg(p)
                .arg(r.carriedGroups)
                .arg(r.dropped.size())
                .arg(r.untimed.size())
                .arg(r.removedFromNew.size()));
    }
    void setHourglass(bool on) override { put(u"hourglass:"_s + OnOff(on)); }
    void setWindowEnabled(bool on) override { put(u"enabled:"_s + OnOff(on)); }
    void setTopmost(bool on) override { put(u"topmost:"_s + OnOff(on)); }
    void letPendingEventsRun() override
    {
        ++pendingEventRuns;
        if (duringEvents)
            std::exchange(duringEvents, nullptr)();
    }
    void written(const QString&, TextEncoding) override { ++filesWritten; }

private:
    static QString OnOff(bool on) { return on ? u"on"_s : u"off"_s; }
    void put(QString event, std::optional<int> number = {}, const FileErrorDetails& details = {})
    {
        event.remove(base);
        if (number)
            event += u':' + QString::number(*number);
        if (details.invalidByte >= 0)
            event += u':' + EncodingName(details.encoding).remove(u' ') + u'@' +
                     QString::number(details.invalidByte);
        else if (details.systemError != 0)
            event += u":errno="_s + QString::number(details.systemError);
        events << event;
    }
    bool answer(const QString& event, std::optional<int> number = {})
    {
        put(event, number);
        return !answers.isEmpty() && answers.takeFirst();
    }
};

// File contents by name. "lrc" divides into "txt" and "ttd" and is what they combine into; so
// do "lrc60001", whose source lyrics take 60001 bytes, "lrc-tags", "lrc-other", another song,
// and "lrc-kana", whose source lyrics read as UTF-8 too, with its second tag on another byte.
// "txt-spaces" is "txt" with spaces and tabs at its line ends. "nocrc+ratio" is "ttd" combined
// with "txt-other" unchecked at the ratio 0.9953125. "as-lrc", "as-elrc", "as-ass" and "as-vtt"
// are "lrc" converted, in UTF-8; "from-vtt" is "as-vtt" converted back; "lrc-text" is "lrc"
// without its tags. Other names stand for their own bytes.
inline const QMap<QString, QByteArray>& Contents()
{
    static const QMap<QString, QByteArray> contents = [] {
        QMap<QString, QString> texts{
            {u"lrc"_s, u"[00:01:00]あいう[00:02:50]え\r\n[00:03:00]ｶﾀｶﾅ\r\n\r\n@TimeRatio=1\r\n"_s},
            {u"lrc-other"_s, u"[00:10:00]別の[00:11:00]歌\r\n\r\n"_s},
            {u"lrc60001"_s, u"[00:01:00]"_s + QString(60001, u'x') + u"\r\n\r\n"_s},
            {u"lrc-tags"_s,
             QString(u"[00:01:00]a[00:02:00]b[00:03:00]c\r\n"_s).repeated(1200) + u"\r\n"_s},
            {u"lrc-kana"_s, u"[00:01:00]ﾃｨ[00:02:00]ﾃｨﾃｨ\r\n\r\n"_s},
            {u"untagged"_s, u"歌だけ"_s},
            {u"blank"_s, u"\r\n"_s}};
        ResultCode code = ResultCode::Ok;
        for (const QString& name : {QString(), u"-other"_s, u"60001"_s, u"-tags"_s, u"-kana"_s}) {
            if (!DivideLyrics(texts[u"lrc"_s + name], texts[u"ttd"_s + name],
                              texts[u"txt"_s + name], code))
                qFatal("test lyrics that do not divide");
        }
        texts[u"txt-spaces"_s] = QString(texts[u"txt"_s]).replace(u"\r\n"_s, u" \r\n"_s) + u'\t';
        if (!CombineLyrics(texts[u"ttd"_s], texts[u"txt-other"_s],
                           {true, TimeRatioChoice::Ratio0_9953125}, texts[u"nocrc+ratio"_s], code))
            qFatal("test texts that do not combine");
        texts[u"lrc-text"_s] =
            QString(texts[u"lrc"_s]).remove(QRegularExpression(u"\\[..:..:..\\]"_s));
        QMap<QString, QByteArray> bytes;
        for (const auto& [name, format] :
             {std::pair{u"lrc"_s, LyricsFormat::Lrc},
              std::pair{u"elrc"_s, LyricsFormat::EnhancedLrc},
              std::pair{u"ass"_s, LyricsFormat::Ass}, std::pair{u"vtt"_s, LyricsFormat::WebVtt}}) {
            QString converted;
            if (!ConvertLyrics(texts[u"lrc"_s], format, {}, converted, code))
                qFatal("test lyrics that do not convert");
            bytes[u"as-"_s + name] = converted.toUtf8();
        }
        if (!ConvertLyrics(QString::fromUtf8(bytes[u"as-vtt"_s]), LyricsFormat::Tags, {},
                           texts[u"from-vtt"_s], code))
            qFatal("test lyrics that do not convert back");
        // Code page 932 half-width katakana that happen to be valid UTF-8 ("ﾂｱ" reads as "±").
        bytes[u"undecodable"_s] = "a\x81";
        bytes[u"ambiguous"_s] = "[00:01:00]\xC2\xB1[00:02:00]\r\n";
        bytes[u"utf16-odd"_s] = QByteArray::fromHex("fffe610062"); // for the fuzzers' first corpus
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            if (!EncodeCp932(it.value(), bytes[it.key()]))
                qFatal("test text without a code page 932 form");
        }
        return bytes;
    }();
    return contents;
}

// A temporary folder described as "NAME=CONTENT ...": CONTENT is a name of Contents(), "/" for
// a folder, "@NAME" for a link to the entry NAME; checks write "-" for no entry at all.
struct Folder {
    QTemporaryDir temp;
    QDir dir{temp.path()};

    QString path(const QString& name) const { return dir.filePath(name); }
    QString expand(QString text) const { return text.replace(u"%D"_s, dir.path()); }
    Texts paths(const QString& names) const
    {
        Texts paths = names.split(u' ', Qt::SkipEmptyParts);
        for (QString& name : paths)
            name = path(name);
        return paths;
    }

    // An entry as check sees it: its bytes, "/", "@TARGET" or "-".
    QByteArray read(const QString& name) const
    {
        const QFileInfo info(path(name));
        if (info.isSymLink())
            return '@' + QFileInfo(info.symLinkTarget()).fileName().toUtf8();
        if (info.isDir())
            return "/";
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
    }

    bool fill(const QString& description) const
    {
        for (const QString& entry : description.split(u' ', Qt::SkipEmptyParts)) {
            if (!Make(path(entry.section(u'=', 0, 0)), Content(entry.section(u'=', 1))))
                return false;
        }
        return true;
    }

    // The entries of expected as found, each named as expected when its content matches.
    QString check(const QString& expected) const
    {
        Texts found;
        for (const QString& entry : expected.split(u' ', Qt::SkipEmptyParts)) {
            const QString content = entry.section(u'=', 1);
            const QByteArray bytes = read(entry.section(u'=', 0, 0));
            found << entry.section(u'=', 0, 0) + u'=' +
                         (bytes == Content(content)
                              ? content
                              : Contents().key(bytes, QString::fromLatin1(bytes.left(30))));
        }
        return found.join(u' ');
    }

private:
    static bool Make(const QString& path, const QByteArray& content)
    {
        const QFileInfo info(path);
        if (!info.dir().mkpath(u"."_s))
            return false;
        if (content == "/")
            return info.dir().mkpath(info.fileName());
        if (content == ">1G") // sparse: takes no room, but no job may read it whole
            return QFile(path).open(QIODevice::WriteOnly) &&
                   QFile::resize(path, (qint64(1) << 30) + 1);
        if (content.startsWith('@'))
            return QFile::link(info.dir().filePath(QString::fromUtf8(content.mid(1))), path);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }

    static QByteArray Content(const QString& name) { return Contents().value(name, name.toUtf8()); }
};

// While it lives, no file can be opened (EMFILE), whoever the test runs as: a read that fails
// with the system's reason.
struct NoFileOpens {
    rlimit saved{};
    bool active = false;
    explicit NoFileOpens(bool on)
        : active(on && ::getrlimit(RLIMIT_NOFILE, &saved) == 0)
    {
        const int lowestFree = active ? ::dup(0) : -1;
        ::close(lowestFree);
        const rlimit none{rlim_t(lowestFree), saved.rlim_max};
        active = active && ::setrlimit(RLIMIT_NOFILE, &none) == 0;
    }
    ~NoFileOpens()
    {
        if (active)
            ::setrlimit(RLIMIT_NOFILE, &saved);
    }
};

// A folder, a recorder and the context the jobs work with.
struct JobBench : Folder {
    Recorder recorder;
    JobContext context{recorder, recorder, recorder};
    JobBench() { recorder.base = dir.path() + u'/'; }

    // Settings and answers from words: "always", "overwrite", "nocrc", "ratio" (0.9953125),
    // "nofiles" (for the caller: the job runs under NoFileOpens),
    // "same" (output beside the TTD file), the answers "yes" and "no" in order, "out=TEXT",
    // "new=TEXT" (the new extension), "appear=NAME" (a file NAME appears when the job first lets
    // events run). The single combine's fields name song.TTD and song.TXT unless "ttd=" or
    // "sozai=" empties them.
    JobSnapshot settings(const QString& script)
    {
        const Texts words = script.split(u' ', Qt::SkipEmptyParts);
        JobSnapshot state;
        state.alwaysOnTop = words.contains(u"always"_s);
        state.overwriteWithoutAsking = words.contains(u"overwrite"_s);
        state.skipCrcCheck = words.contains(u"nocrc"_s);
        state.outputBesideTtd = words.contains(u"same"_s);
        state.ttdPath = words.contains(u"ttd="_s) ? QString() : path(u"song.TTD"_s);
        state.sourcePath = words.contains(u"sozai="_s) ? QString() : path(u"song.TXT"_s);
        if (words.contains(u"ratio"_s))
            state.timeRatio = TimeRatioChoice::Ratio0_9953125;
        for (const QString& word : words) {
            if (word == u"yes" || word == u"no")
                recorder.answers << (word == u"yes");
            else if (word.startsWith(u"out="))
                state.outputFolder = expand(word.mid(4));
            else if (word.startsWith(u"new="))
                state.newExtension = word.mid(4);
            else if (word.startsWith(u"appear="))
                recorder.duringEvents = [this, name = word.mid(7)] { fill(name + u"=appeared"_s); };
        }
        return state;
    }

    // What a job did, as recorded, after checking that every write let pending events run.
    Texts events() const
    {
        if (recorder.pendingEventRuns < recorder.filesWritten)
            return {u"a file was written without letting pending events run"_s};
        return recorder.events;
    }
};

} // namespace kovrant::testing
