#include "jobs/formatconversion.h"
#include "jobs/retimejob.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;

class TestConvertJobs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

namespace {

// Words of a script besides the bench's settings: "to=FORMAT" (a conversion; without it a
// retime), "shift=MS", "dir=DIR" (the output folder), "strict", "files=NAME,NAME" (the queue, or
// retime's OLD and NEW).
QString Word(const QString& script, const QString& key)
{
    for (const QString& word : script.split(u' ')) {
        if (word.startsWith(key + u'='))
            return word.mid(key.size() + 1);
    }
    return {};
}

} // namespace

void TestConvertJobs::runs_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("after");
    const auto row = [](const char* name, const QString& files, const QString& script,
                        const QString& events, const QString& after) {
        QTest::newRow(name) << files << script << events << after;
    };
    const QString pair = u"song.TTD=ttd song.TXT=txt "_s;
    row("to LRC beside a.LRC: a folder that tells case apart keeps both", u"a.LRC=lrc"_s,
        u"to=lrc files=a.LRC"_s, {}, u"a.lrc=as-lrc a.LRC=lrc"_s);
    row("to enhanced LRC", u"a.LRC=lrc"_s, u"to=elrc files=a.LRC"_s, {}, u"a.lrc=as-elrc"_s);
    row("to ASS, from a TTD file and the source lyrics beside it", pair, u"to=ass files=song.TTD"_s,
        {}, u"song.ass=as-ass"_s);
    row("to WebVTT into an output folder", u"a.LRC=lrc dest=/"_s,
        u"to=vtt dir=%D/dest files=a.LRC"_s, {}, u"dest/a.vtt=as-vtt a.vtt=-"_s);
    row("WebVTT back to tags, in code page 932", u"a.vtt=as-vtt"_s, u"to=tags files=a.vtt"_s, {},
        u"a.LRC=from-vtt"_s);
    row("to tags, text code page 932 cannot hold: UTF-8 with a byte-order mark",
        u"k.vtt=WEBVTT\n\n00:01.000-->00:02.000\n한\n"_s, u"to=tags files=k.vtt"_s, {},
        u"k.LRC=\uFEFF[00:01:00]한[00:02:00]\r\n\r\n"_s);
    row("the shift moves every time", u"k.vtt=WEBVTT\n\n00:01.000-->00:02.000\nx\n"_s,
        u"to=tags shift=-250 files=k.vtt"_s, {}, u"k.LRC=[00:00:75]x[00:01:75]\r\n\r\n"_s);
    row("each file on its own: one fails, the next is written",
        u"a.txt=lrc b.txt=untagged c.vtt=as-vtt"_s, u"to=tags files=a.txt,b.txt,c.vtt"_s,
        u"a.txt:45 b.txt:42"_s, u"c.LRC=from-vtt a.LRC=- b.LRC=-"_s);
    row("a TTD file is no input for tags", pair, u"to=tags files=song.TTD"_s, u"song.TTD:45"_s,
        u"song.LRC=-"_s);
    row("lyrics without a tag", u"a.txt=untagged"_s, u"to=vtt files=a.txt"_s, u"a.txt:41"_s,
        u"a.vtt=-"_s);
    row("a TTD file whose source lyrics fail the CRC: nothing written",
        u"song.TTD=ttd song.TXT=txt-other"_s, u"to=lrc files=song.TTD"_s, u"mismatch:song.TTD"_s,
        u"song.lrc=-"_s);
    row("a TTD file without its source lyrics names them", u"song.TTD=ttd"_s,
        u"to=lrc files=song.TTD"_s, u"song.TXT:11"_s, u"song.lrc=-"_s);
    row("an existing output is asked about: No keeps it", u"a.LRC=lrc a.vtt=old"_s,
        u"to=vtt no files=a.LRC"_s, u"a.vtt?"_s, u"a.vtt=old"_s);
    row("an output folder that is not there: said once, nothing read", u"a.LRC=lrc b.LRC=lrc"_s,
        u"to=vtt dir=%D/none files=a.LRC,b.LRC"_s, u"folder:none"_s, u"a.vtt=-"_s);
    row("retime: the old text unchanged: the old file byte for byte",
        u"old.LRC=lrc new.TXT=lrc-text"_s, u"files=old.LRC,new.TXT"_s, u"retime:new.TXT:3/0/0/0"_s,
        u"new.LRC=lrc"_s);
    row("retime: from a TTD file and its source lyrics, into an output folder",
        u"song.TTD=ttd song.TXT=txt new.TXT=lrc-text dest=/"_s,
        u"files=song.TTD,new.TXT dir=%D/dest"_s, u"retime:new.TXT:3/0/0/0"_s,
        u"dest/new.LRC=lrc new.LRC=-"_s);
    row("retime: edited lyrics in UTF-8 give their output in UTF-8",
        u"old.LRC=lrc new.txt=あいうえお\r\nｶﾀｶﾅ\r\n"_s, u"files=old.LRC,new.txt"_s,
        u"retime:new.txt:3/0/1/0"_s,
        u"new.LRC=[00:01:00]あいう[00:02:50]えお\r\n[00:03:00]ｶﾀｶﾅ\r\n@TimeRatio=1\r\n"_s);
    row("retime: strict: what was lost is told and nothing written",
        u"old.LRC=lrc new.txt=あいう\r\nｶﾀｶﾅ\r\n"_s, u"files=old.LRC,new.txt strict"_s,
        u"retime:new.txt:2/1/0/0 new.txt:54"_s, u"new.LRC=-"_s);
    row("retime: an existing output is asked about: No keeps it",
        u"old.LRC=lrc new.TXT=lrc-text new.LRC=x"_s, u"no files=old.LRC,new.TXT"_s,
        u"retime:new.TXT:3/0/0/0 new.LRC?"_s, u"new.LRC=x"_s);
    row("retime: an old text without tags names the old file", u"old.LRC=untagged new.TXT=txt"_s,
        u"files=old.LRC,new.TXT"_s, u"old.LRC:52"_s, u"new.LRC=-"_s);
    row("retime: a missing new file is found before the old one is read, or a repair offered",
        u"song.TTD=ttd song.TXT=txt-spaces"_s, u"files=song.TTD,new.TXT"_s, u"new.TXT:11"_s,
        u"new.LRC=-"_s);
}

// A job succeeds when it reports nothing but what a retime carried.
void TestConvertJobs::runs()
{
    QFETCH(QString, files);
    QFETCH(QString, script);
    QFETCH(QString, events);
    QFETCH(QString, after);
    JobBench bench;
    QVERIFY(bench.fill(files));
    const JobSnapshot state = bench.settings(script);
    const Texts queue = bench.paths(Word(script, u"files"_s).replace(u',', u' '));
    const QString to = Word(script, u"to"_s), folder = bench.expand(Word(script, u"dir"_s));
    BatchResults results;
    const bool ok =
        to.isEmpty()
            ? Retime({queue[0], queue[1], folder, script.split(u' ').contains(u"strict"_s)}, state,
                     bench.context)
            : BatchConvert(
                  queue,
                  {LyricsFormat(
                       Texts{u"tags"_s, u"lrc"_s, u"elrc"_s, u"ass"_s, u"vtt"_s}.indexOf(to)),
                   Word(script, u"shift"_s).toInt(), folder},
                  state, bench.context, results);
    QCOMPARE(bench.events().join(u' '), bench.expand(events));
    QCOMPARE(ok, QRegularExpression(u"^(retime:\\S+ ?)*$"_s).match(events).hasMatch());
    QCOMPARE(bench.check(after), after);
}

QTEST_GUILESS_MAIN(TestConvertJobs)
#include "tst_convertjobs.moc"
