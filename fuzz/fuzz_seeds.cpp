// Writes the first corpus of every fuzz target into the folder given: the texts that the jobs'
// and the format tests generate, the committed fixtures, and command lines as the command-line
// tests give them.
#include "core/cp932.h"
#include "core/crcdiagnosis.h"
#include "core/lyricsconversion.h"
#include "core/lyricsgenerator.h"
#include "jobs/jobtesting.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>

using namespace kovrant;
using namespace kovrant::testing;

namespace {

// Larger inputs slow every run of a fuzzer down more than they add paths.
constexpr qsizetype LargestSeed = 8192;

class Corpus {
public:
    explicit Corpus(const QString& folder)
        : m_folder(folder)
    {}

    void add(const QString& target, const QByteArray& bytes)
    {
        if (bytes.size() > LargestSeed)
            return;
        QDir(m_folder).mkpath(target);
        QFile file(m_folder + u'/' + target + u"/seed-"_s + QString::number(m_count++));
        ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && ok;
    }

    bool ok = true;

private:
    QString m_folder;
    int m_count = 0;
};

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(KOVRANT_TEST_DATA "/files/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Pair(const QString& ttd, const QString& source)
{
    return Contents().value(ttd) + '\0' + Contents().value(source);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    Corpus corpus(QString::fromLocal8Bit(argv[1]));
    const auto& contents = Contents();
    for (auto it = contents.cbegin(); it != contents.cend(); ++it) {
        for (const char* target : {"fuzz_divide", "fuzz_cp932"})
            corpus.add(QString::fromLatin1(target), it.value());
        corpus.add(u"fuzz_textencoding"_s, '\0' + it.value());
    }
    for (const auto& [ttd, source] :
         {std::pair{u"ttd"_s, u"txt"_s}, std::pair{u"ttd"_s, u"txt-other"_s},
          std::pair{u"ttd"_s, u"txt-spaces"_s}, std::pair{u"ttd-other"_s, u"txt-other"_s},
          std::pair{u"ttd"_s, u"blank"_s}}) {
        corpus.add(u"fuzz_combine"_s, Pair(ttd, source));
        corpus.add(u"fuzz_crcdiagnosis"_s, Pair(ttd, source));
    }
    for (const QString& name :
         {u"cp932-as-utf8.lrc"_s, u"cp932-ibm.txt"_s, u"cp932-kana.txt"_s, u"cp932-nec13.txt"_s,
          u"cp932-rewritten.txt"_s, u"invalid-bad-trail.txt"_s, u"invalid-lead-at-end.txt"_s,
          u"song-cp932.lrc"_s, u"song-emoji.lrc"_s, u"song-utf16le.lrc"_s, u"song-utf8.lrc"_s,
          u"song-utf8bom.lrc"_s, u"utf8-japanese.txt"_s}) {
        const QByteArray bytes = Fixture(name);
        corpus.add(u"fuzz_cp932"_s, bytes);
        corpus.add(u"fuzz_textencoding"_s, '\0' + bytes);
        corpus.add(u"fuzz_textencoding"_s, '\1' + bytes);
    }
    for (const char* line : {"divide --verbose --source-ext szi --ttd-ext=..tdd a.LRC",
                             "divide a.LRC b.LRC c.LRC",
                             "divide a.LRC --overwrite -- --verbose",
                             "divide --bogus --help",
                             "combine --no-crc-check --time-ratio=0.9953125 song.TTD",
                             "combine --overwrite song.TTD",
                             "combine --source big.TXT song.TTD",
                             "combine --overwrite --output-dir out a/song.TTD b/song.TTD",
                             "combine --repair --encoding cp932 song.TTD",
                             "rename --to .LRC --verbose a.txt",
                             "rename a.txt",
                             "--overwrite divide a",
                             "divide --bogus=1 a",
                             "rename --overwrite a",
                             "divide --overwrite",
                             "combine --lyrics-ext x/LRC a",
                             "divide --source-ext ttd a",
                             "combine --time-ratio=2 a",
                             "combine --source s a b",
                             "--version"})
        corpus.add(u"fuzz_cliargs"_s, QByteArray(line).replace(' ', '\0'));
    // Lyrics of the format tests in every format.
    kovrant::testing::LyricsGenerator lyrics;
    for (int i = 0; i < 40; ++i) {
        const QString tags = lyrics.lyrics();
        corpus.add(u"fuzz_formats"_s, tags.toUtf8());
        // Old lyrics and their text with a word changed, as retiming takes them.
        QString text = tags;
        text.remove(QRegularExpression(u"\\[\\d\\d:\\d\\d:\\d\\d\\]"_s)).replace(u'@', u'a');
        corpus.add(
            u"fuzz_retime"_s,
            QString(tags).replace(u'@', u'a').toUtf8() + '\0' +
                text.replace(i % std::max<qsizetype>(text.size(), 1), 2, u"新しい"_s).toUtf8());
        for (const LyricsFormat format : {LyricsFormat::Lrc, LyricsFormat::EnhancedLrc,
                                          LyricsFormat::Ass, LyricsFormat::WebVtt}) {
            QString converted;
            ResultCode code = ResultCode::Ok;
            if (ConvertLyrics(tags, format, {}, converted, code))
                corpus.add(u"fuzz_formats"_s, converted.toUtf8());
        }
    }
    // Settings files as the window writes them, and as hands and other programs leave them.
    for (const char* ini :
         {"[Init]\nAlwaysTop=False\nOverWrite=True\nNoCRCCheck=True\nTimeRatio=2\nExt0=1\n"
          "Ext1=2\nOutFolder=/o/\nSameTTD=0\nNewExtMax=1\nNewExt0=a\nNewExt1=b\nLastMode=0\n",
          "[Init]\nNewExtMax=2\nNewExt0=\nNewExt1=b\nNewExt3=d\nLastMode=@Invalid()\n",
          "[Init]\nOutFolder=\"/a, b/\"\nTimeRatio=x\n[Other]\nLastMode=1\n"})
        corpus.add(u"fuzz_settings"_s, QByteArray(ini));
    return corpus.ok ? 0 : 1;
}
