#pragma once

// What the jobs' tests share: a recorder behind the jobs' interfaces, lyrics made by the core,
// and folders of files described by name.

#include "core/combine.h"
#include "core/cp932.h"
#include "core/divide.h"
#include "jobs/jobstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <functional>

namespace kovrant::testing {

using Texts = QStringList;
using Answers = QList<bool>;
using Codes = QList<ResultCode>;

// Keeps, in one ordered list, everything a job says to the user or does to the window:
// "info:TEXT", "ask:TEXT", "hourglass:on", "enabled:off", "topmost:on", ... askYesNo answers
// from answers, and No once they are used up.
class Recorder final : public UserDialogs, public WindowHooks {
public:
    Texts events;
    Answers answers;
    std::function<void()> duringInfo; // runs while a message is open

    void showInfo(const QString& text) override
    {
        events.append(QStringLiteral("info:") + text);
        if (duringInfo)
            duringInfo();
    }
    void showWarning(const QString& text) override
    {
        events.append(QStringLiteral("warning:") + text);
    }
    bool askYesNo(const QString& text) override
    {
        events.append(QStringLiteral("ask:") + text);
        return !answers.isEmpty() && answers.takeFirst();
    }
    void setHourglass(bool on) override { record("hourglass", on); }
    void setWindowEnabled(bool on) override { record("enabled", on); }
    void setTopmost(bool on) override { record("topmost", on); }

    // The dialogs alone.
    Texts dialogs() const
    {
        Texts texts;
        for (const QString& event : events) {
            if (event.startsWith(u"info:") || event.startsWith(u"ask:"))
                texts.append(event);
        }
        return texts;
    }

private:
    void record(const char* what, bool on)
    {
        events.append(QString::fromLatin1(what) +
                      (on ? QStringLiteral(":on") : QStringLiteral(":off")));
    }
};

struct JobBench {
    Recorder recorder;
    CrcService crc;
    JobLog log;
    JobContext context{crc, recorder, recorder, log};
    JobBench() { crc.Initialise(1); }
};

inline QByteArray Cp932(const QString& text)
{
    QByteArray bytes;
    if (!EncodeCp932(text, bytes))
        qFatal("test text without a code page 932 form");
    return bytes;
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

// The combine's result, as the jobs must write it.
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

// Lyrics whose source text takes exactly the given number of bytes.
inline Lyrics LyricsOfSize(qsizetype bytes)
{
    return Divided(QStringLiteral("[00:01:00]") + QString(bytes, u'x'));
}

// A folder's entries by relative name: their bytes, FolderMark for a folder, Missing for none.
using FileSet = QMap<QString, QByteArray>;
inline const QByteArray FolderMark("<folder>");
inline const QByteArray Missing("<missing>");

inline QByteArray Describe(const QString& path)
{
    if (QFileInfo(path).isDir())
        return FolderMark;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : Missing;
}

inline bool Populate(const QDir& dir, const FileSet& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const bool folder = it.value() == FolderMark;
        if (!dir.mkpath(folder ? it.key() : QFileInfo(it.key()).path()))
            return false;
        QFile file(dir.filePath(it.key()));
        if (!folder &&
            (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size()))
            return false;
    }
    return true;
}

// Compares every entry of expected with what dir holds; a mismatch names the entry.
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

} // namespace kovrant::testing
