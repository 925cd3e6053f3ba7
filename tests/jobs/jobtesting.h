#pragma once

// What the jobs' tests share: recorders behind the jobs' interfaces, lyrics made by the core,
// and files in code page 932.

#include "core/combine.h"
#include "core/cp932.h"
#include "core/divide.h"
#include "jobs/jobstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <functional>

namespace kovrant::testing {

// One ordered record of everything a job said or did to the window, so that tests can check
// the order across dialogs and hooks: "info:TEXT", "warning:TEXT", "ask:TEXT", "hourglass:on",
// "enabled:off", "topmost:on", ...
struct EventLog {
    QStringList events;
    QStringList dialogs() const
    {
        QStringList texts;
        for (const QString& event : events) {
            if (event.startsWith(u"info:") || event.startsWith(u"warning:") ||
                event.startsWith(u"ask:"))
                texts.append(event);
        }
        return texts;
    }
};

class RecordingDialogs final : public UserDialogs {
public:
    explicit RecordingDialogs(EventLog& log)
        : m_log(log)
    {}
    // The answers askYesNo gives, in order; an unscripted question is answered No and recorded.
    QList<bool> answers;
    // Runs inside every showInfo, as code may run while a modal message is open.
    std::function<void()> duringInfo;

    void showInfo(const QString& text) override
    {
        m_log.events.append(QStringLiteral("info:") + text);
        if (duringInfo)
            duringInfo();
    }
    void showWarning(const QString& text) override
    {
        m_log.events.append(QStringLiteral("warning:") + text);
    }
    bool askYesNo(const QString& text) override
    {
        m_log.events.append(QStringLiteral("ask:") + text);
        if (answers.isEmpty()) {
            m_log.events.append(QStringLiteral("unscripted question"));
            return false;
        }
        return answers.takeFirst();
    }

private:
    EventLog& m_log;
};

class RecordingHooks final : public WindowHooks {
public:
    explicit RecordingHooks(EventLog& log)
        : m_log(log)
    {}
    void setHourglass(bool on) override { record(u"hourglass", on); }
    void setWindowEnabled(bool enabled) override { record(u"enabled", enabled); }
    void setTopmost(bool on) override { record(u"topmost", on); }

private:
    void record(QStringView what, bool on)
    {
        m_log.events.append(what.toString() +
                            (on ? QStringLiteral(":on") : QStringLiteral(":off")));
    }
    EventLog& m_log;
};

class RecordingLog final : public JobLog {
public:
    QStringList entries;
    void written(const QString& path) override { entries.append(QStringLiteral("wrote ") + path); }
    void renamed(const QString& from, const QString& to) override
    {
        entries.append(QStringLiteral("renamed ") + from + QStringLiteral(" to ") + to);
    }
};

// The jobs' surroundings, recorded.
struct JobBench {
    EventLog log;
    CrcService crc;
    RecordingDialogs dialogs{log};
    RecordingHooks hooks{log};
    RecordingLog files;
    JobContext context{crc, dialogs, hooks, files};
    JobBench() { crc.Initialise(1); }
};

inline QByteArray Cp932(const QString& text)
{
    QByteArray bytes;
    if (!EncodeCp932(text, bytes))
        qFatal("test text without a code page 932 form");
    return bytes;
}

// A folder's files by name; FolderMark stands for a folder, Missing for nothing at all.
using FileSet = QMap<QString, QByteArray>;
inline const QByteArray FolderMark("<folder>");
inline const QByteArray Missing("<missing>");

// What is at path, in FileSet terms.
inline QByteArray Describe(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return FolderMark;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : Missing;
}

inline bool Populate(const QDir& dir, const FileSet& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (it.value() == FolderMark) {
            if (!dir.mkpath(it.key()))
                return false;
            continue;
        }
        QFile file(dir.filePath(it.key()));
        if (!dir.mkpath(QFileInfo(it.key()).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

// Every entry of expected as found in dir; a failed comparison names the file.
inline bool Matches(const QDir& dir, const FileSet& expected, QString& mismatch)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QByteArray found = Describe(dir.filePath(it.key()));
        if (found != it.value()) {
            mismatch = it.key() + QStringLiteral(": ") + QString::fromLatin1(found.left(60));
            return false;
        }
    }
    return true;
}

// Time-tagged lyrics and what Divide makes of them.
struct Lyrics {
    QString tagged;
    QString ttd;
    QString source;
};

inline Lyrics Divided(const QString& tagged)
{
    CrcService crc;
    crc.Initialise(1);
    Lyrics lyrics{tagged, QString(), QString()};
    ResultCode code = 0;
    if (!DivideLyrics(crc, tagged, lyrics.ttd, lyrics.source, code))
        qFatal("test lyrics that do not divide");
    return lyrics;
}

inline const Lyrics& Song()
{
    static const Lyrics song = Divided(
        QStringLiteral("[00:01:00]あいう[00:02:50]え\r\n[00:03:00]ｶﾀｶﾅ\r\n@TimeRatio=1\r\n"));
    return song;
}

inline const Lyrics& OtherSong()
{
    static const Lyrics song = Divided(QStringLiteral("[00:10:00]別の[00:11:00]歌\r\n"));
    return song;
}

// Lyrics whose TTD file or source file has exactly the given size in bytes, made by padding an
// attribute line (carried into the TTD) or the one lyrics line (the source).
enum class Padded { Ttd, Source };
inline Lyrics LyricsOfSize(Padded which, qsizetype bytes)
{
    const auto make = [](qsizetype pad, Padded what) {
        const QString fill(pad, u'x');
        return Divided(what == Padded::Ttd ? QStringLiteral("[00:01:00]a\r\n@Pad=") + fill
                                           : QStringLiteral("[00:01:00]a") + fill);
    };
    const auto size = [which](const Lyrics& lyrics) {
        return Cp932(which == Padded::Ttd ? lyrics.ttd : lyrics.source).size();
    };
    const qsizetype base = size(make(0, which));
    Lyrics lyrics = make(bytes - base, which);
    if (size(lyrics) != bytes)
        qFatal("padding does not reach the size asked for");
    return lyrics;
}

// The combine's result for a TTD text and a source text, as the jobs must write it.
inline QString Combined(const QString& ttd, const QString& source, bool skipCrc = false,
                        TimeRatioChoice ratio = TimeRatioChoice::Unchanged)
{
    CrcService crc;
    crc.Initialise(1);
    QString tagged;
    ResultCode code = 0;
    if (!CombineLyrics(crc, ttd, source, {skipCrc, ratio}, tagged, code))
        qFatal("test texts that do not combine");
    return tagged;
}

} // namespace kovrant::testing
