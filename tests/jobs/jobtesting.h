#pragma once

// What the jobs' and kovrant-cli's tests share: a recorder behind the jobs' interfaces, and
// temporary folders described in one line, with contents made by the core.

#include "core/combine.h"
#include "core/cp932.h"
#include "core/divide.h"
#include "jobs/jobstate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <functional>

namespace kovrant::testing {

using namespace Qt::StringLiterals;
using Texts = QStringList;

// Keeps, in order, what a job says ("info:TEXT", "ask:TEXT") and does to the window
// ("hourglass:on", "enabled:off", "topmost:on", ...). Answers come from answers, then No.
class Recorder final : public UserDialogs, public WindowHooks {
public:
    Texts events;
    QList<bool> answers;
    std::function<void()> duringInfo; // runs while a message is open

    void showInfo(const QString& text) override
    {
        events << u"info:"_s + text;
        if (duringInfo)
            duringInfo();
    }
    void showWarning(const QString& text) override { events << u"warning:"_s + text; }
    bool askYesNo(const QString& text) override
    {
        events << u"ask:"_s + text;
        return !answers.isEmpty() && answers.takeFirst();
    }
    void setHourglass(bool on) override { events << u"hourglass:"_s + OnOff(on); }
    void setWindowEnabled(bool on) override { events << u"enabled:"_s + OnOff(on); }
    void setTopmost(bool on) override { events << u"topmost:"_s + OnOff(on); }

private:
    static QString OnOff(bool on) { return on ? u"on"_s : u"off"_s; }
};

// File contents by name. "lrc" divides into "txt" and "ttd" and is what they combine into; so
// do "lrcN", whose source lyrics take N bytes, and "lrc-other", another song. "nocrc+ratio" is
// "ttd" combined with "txt-other" unchecked at the ratio 0.9953125. Other names stand for their
// own bytes.
inline const QMap<QString, QByteArray>& Contents()
{
    static const QMap<QString, QByteArray> contents = [] {
        const QString sized = u"[00:01:00]"_s + QString(60000, u'x');
        QMap<QString, QString> texts{
            {u"lrc"_s, u"[00:01:00]あいう[00:02:50]え\r\n[00:03:00]ｶﾀｶﾅ\r\n\r\n@TimeRatio=1\r\n"_s},
            {u"lrc-other"_s, u"[00:10:00]別の[00:11:00]歌\r\n\r\n"_s},
            {u"lrc60000"_s, sized + u"\r\n\r\n"_s},
            {u"lrc60001"_s, sized + u"x\r\n\r\n"_s},
            {u"untagged"_s, u"歌だけ"_s},
            {u"blank"_s, u"\r\n"_s}};
        CrcService crc;
        crc.Initialise(1);
        ResultCode code = 0;
        for (const QString& name : {QString(), u"-other"_s, u"60000"_s, u"60001"_s}) {
            if (!DivideLyrics(crc, texts[u"lrc"_s + name], texts[u"ttd"_s + name],
                              texts[u"txt"_s + name], code))
                qFatal("test lyrics that do not divide");
        }
        if (!CombineLyrics(crc, texts[u"ttd"_s], texts[u"txt-other"_s],
                           {true, TimeRatioChoice::Ratio0_9953125}, texts[u"nocrc+ratio"_s], code))
            qFatal("test texts that do not combine");
        QMap<QString, QByteArray> bytes{{u"undecodable"_s, "\x81"}};
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
            const QByteArray bytes = Describe(path(entry.section(u'=', 0, 0)));
            found << entry.section(u'=', 0, 0) + u'=' +
                         (bytes == Content(content)
                              ? content
                              : Contents().key(bytes, QString::fromLatin1(bytes.left(30))));
        }
        return found.join(u' ');
    }

    // Expected dialogs: "NAME:CODE" is the error message naming NAME, "NAME?" the overwrite
    // question about the file NAME here; other items stand as they are, %D being the folder.
    Texts dialogs(const QString& items) const
    {
        Texts texts;
        for (const QString& item : items.split(u' ', Qt::SkipEmptyParts)) {
            bool isCode = false;
            const ResultCode code = item.section(u':', -1).toInt(&isCode);
            if (item.endsWith(u'?'))
                texts << u"ask:"_s + path(item.chopped(1)) + u"\r\n上書きしますか?"_s;
            else if (isCode)
                texts << u"info:"_s + item.section(u':', 0, -2) + u"\r\nError:"_s +
                             ErrorMessage(code);
            else
                texts << expand(item);
        }
        return texts;
    }

private:
    static bool Make(const QString& path, const QByteArray& content)
    {
        const QFileInfo info(path);
        if (!info.dir().mkpath(u"."_s))
            return false;
        if (content == "/")
            return info.dir().mkpath(info.fileName());
        if (content.startsWith('@'))
            return QFile::link(info.dir().filePath(QString::fromUtf8(content.mid(1))), path);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }

    static QByteArray Content(const QString& name) { return Contents().value(name, name.toUtf8()); }

    static QByteArray Describe(const QString& path)
    {
        const QFileInfo info(path);
        if (info.isSymLink())
            return '@' + QFileInfo(info.symLinkTarget()).fileName().toUtf8();
        if (info.isDir())
            return "/";
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
    }
};

// A folder, a recorder and what else the jobs work with.
struct JobBench : Folder {
    Recorder recorder;
    CrcService crc;
    JobLog log;
    JobContext context{crc, recorder, recorder, log};
    JobBench() { crc.Initialise(1); }

    // Settings and answers from words: "always", "overwrite", "nocrc", "ratio" (0.9953125),
    // "same" (ChkSameTTD), the answers "yes" and "no" in order, "out=TEXT", "new=TEXT"
    // (CmbNewExt). The single combine's fields name song.TTD and song.TXT unless "ttd=" or
    // "sozai=" empties them.
    JobSnapshot settings(const QString& script)
    {
        const Texts words = script.split(u' ', Qt::SkipEmptyParts);
        JobSnapshot state;
        state.mnAlways = words.contains(u"always"_s);
        state.mnOverwrite = words.contains(u"overwrite"_s);
        state.mnNoCRCCheck = words.contains(u"nocrc"_s);
        state.ChkSameTTD = words.contains(u"same"_s);
        state.txtTTD = words.contains(u"ttd="_s) ? QString() : path(u"song.TTD"_s);
        state.txtSozai = words.contains(u"sozai="_s) ? QString() : path(u"song.TXT"_s);
        if (words.contains(u"ratio"_s))
            state.timeRatioChoice = TimeRatioChoice::Ratio0_9953125;
        for (const QString& word : words) {
            if (word == u"yes" || word == u"no")
                recorder.answers << (word == u"yes");
            else if (word.startsWith(u"out="))
                state.txtOut = expand(word.mid(4));
            else if (word.startsWith(u"new="))
                state.CmbNewExt = word.mid(4);
        }
        return state;
    }
};

} // namespace kovrant::testing
