#include "core/cp932.h"
#include "files/textfiles.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Old(100, 'o'); // what song.lrc holds before each test

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

int Mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestTextFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    qsizetype m_openFiles = 0;
    QString at(const QString& name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ::umask(022); // so that a new file is 0644
        Put(at(u"song.lrc"_s), Old);
        QCOMPARE(::chmod(QFile::encodeName(at(u"song.lrc"_s)).constData(), 0640), 0);
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
        QVERIFY(QFile::link(at(u"song.lrc"_s), at(u"link-to-file"_s)));
        QVERIFY(QFile::link(at(u"gone"_s), at(u"dangling"_s)));
        m_openFiles = Entries(u"/proc/self/fd"_s).size();
    }

    // No call, whether it succeeds or fails, leaves a file open.
    void cleanup()
    {
        SetPendingEventsHook({});
        const qsizetype openFiles = Entries(u"/proc/self/fd"_s).size();
        CloseAllFileChannels();
        QCOMPARE(openFiles, m_openFiles);
    }

    void inputChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // written to name first unless null
        QTest::addColumn<int>("check");        // 11: FileExists is false as well
        QTest::addColumn<int>("load");
        QTest::newRow("exactly the limit") << u"a"_s << QByteArray(60000, 'a') << 0 << 0;
        QTest::newRow("one byte over the limit") << u"a"_s << QByteArray(60001, 'a') << 12 << 0;
        QTest::newRow("empty file passes the check") << u"a"_s << QByteArray("") << 0 << 14;
        QTest::newRow("link to a file") << u"link-to-file"_s << QByteArray() << 0 << 0;
        QTest::newRow("missing file") << u"missing.lrc"_s << QByteArray() << 11 << 13;
        QTest::newRow("folder is no file") << u"folder"_s << QByteArray() << 11 << 13;
        QTest::newRow("dangling link") << u"dangling"_s << QByteArray() << 11 << 13;
        QTest::newRow("star is no wildcard") << u"*.lrc"_s << QByteArray() << 11 << 13;
        QTest::newRow("cut-off lead byte fails the read")
            << u"a"_s << QByteArray("ok\x82") << 0 << 13;
        const QByteArray utf8 = Bytes(QStringLiteral(KOVRANT_TEST_DATA "/files/utf8-japanese.txt"));
        QTest::newRow("UTF-8 fails the read") << u"a"_s << utf8 << 0 << 13;
    }

    void inputChecks()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, check);
        QFETCH(int, load);
        if (!bytes.isNull())
            Put(at(name), bytes);
        const QByteArray content = Bytes(at(name));
        QCOMPARE(FileExists(at(name)), check != Result::FileNotFound);
        QCOMPARE(CheckInputFile(at(name)), check);
        QString read = u"before"_s, loaded = u"before"_s;
        QCOMPARE(ReadTextFile(at(name), read), load != Result::ReadFailed);
        QCOMPARE(LoadInputText(at(name), loaded), load);
        QCOMPARE(read, load == Result::ReadFailed ? QString() : QString::fromLatin1(content));
        QCOMPARE(loaded, load == Result::Ok ? read : u"before"_s);
        QCOMPARE(Bytes(at(name)), content);
    }

    // The committed encoding fixtures: what is valid reads, and writes back as Windows would.
    void fixtures_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QByteArray>("writtenBack"); // null: the fixture's own bytes
        QTest::newRow("half-width kana, CRLF") << u"cp932-kana.txt"_s << true << QByteArray();
        QTest::newRow("NEC row 13, LF") << u"cp932-nec13.txt"_s << true << QByteArray();
        QTest::newRow("IBM extensions, CR") << u"cp932-ibm.txt"_s << true << QByteArray();
        QTest::newRow("codes Windows rewrites")
            << u"cp932-rewritten.txt"_s << true << QByteArray::fromHex("FA5CFA5D81E081E6");
        QTest::newRow("lead byte at the end")
            << u"invalid-lead-at-end.txt"_s << false << QByteArray();
        QTest::newRow("bad trail byte") << u"invalid-bad-trail.txt"_s << false << QByteArray();
        QTest::newRow("UTF-8") << u"utf8-japanese.txt"_s << false << QByteArray();
    }

    void fixtures()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, readable);
        QFETCH(QByteArray, writtenBack);
        const QByteArray bytes = Bytes(QStringLiteral(KOVRANT_TEST_DATA "/files/") + fixture);
        Put(at(fixture), bytes);
        QString text;
        QCOMPARE(ReadTextFile(at(fixture), text), readable);
        if (readable) {
            QVERIFY(WriteTextFile(at(fixture), text));
            QCOMPARE(Bytes(at(fixture)).toHex(),
                     (writtenBack.isNull() ? bytes : writtenBack).toHex());
        }
    }

    void writes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("writable"); // what the probe says
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("sizeLimit"); // in bytes, 0 for none
        QTest::newRow("100 bytes overwritten by 10")
            << u"song.lrc"_s << u"0123456789"_s << true << true << 0;
        QTest::newRow("empty text over a file") << u"song.lrc"_s << QString() << true << true << 0;
        QTest::newRow("through a link") << u"link-to-file"_s << u"x"_s << true << true << 0;
        QTest::newRow("Japanese, CRLF, new file")
            << u"new.lrc"_s << u"[00:12:34]歌詞の\r\nテスト　ｶﾅ\r\n"_s << true << true << 0;
        QTest::newRow("LF, CR and CRLF, no final break")
            << u"new.lrc"_s << u"a\nb\rc\r\n\r\rd"_s << true << true << 0;
        QTest::newRow("no code, over a file") << u"song.lrc"_s << u"\u301C"_s << true << false << 0;
        QTest::newRow("no code, new file")
            << u"new.lrc"_s << u"a\U0001F3A4"_s << true << false << 0;
        // A file size limit makes the kernel refuse a write part-way, as a full disk would.
        const QString big(4096, u'n');
        QTest::newRow("4096 bytes over a file") << u"song.lrc"_s << big << true << true << 0;
        QTest::newRow("full disk, over a file") << u"song.lrc"_s << big << true << false << 64;
        QTest::newRow("full disk, new file") << u"new.lrc"_s << big << true << false << 64;
        QTest::newRow("folder") << u"folder"_s << u"x"_s << false << false << 0;
        QTest::newRow("missing folder") << u"missing/new.lrc"_s << u"x"_s << false << false << 0;
    }

    void writes()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, writable);
        QFETCH(bool, written);
        QFETCH(int, sizeLimit);
        const QStringList before = Entries(m_dir->path());
        QCOMPARE(CanOpenForWrite(at(name)), writable);
        int hookCalls = 0;
        SetPendingEventsHook([&hookCalls] { ++hookCalls; });
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited{sizeLimit ? rlim_t(sizeLimit) : saved.rlim_cur, saved.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool result = WriteTextFile(at(name), text);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(result, written);
        QCOMPARE(Entries(at(u"folder"_s)), QStringList());
        QCOMPARE(QFileInfo(at(u"link-to-file"_s)).symLinkTarget(), at(u"song.lrc"_s));
        QCOMPARE(Mode(at(u"song.lrc"_s)), 0640); // a replaced file keeps its permissions
        if (!written) {
            QCOMPARE(Entries(m_dir->path()), before);
            QCOMPARE(Bytes(at(u"song.lrc"_s)), Old);
            return;
        }
        QCOMPARE(hookCalls, 1);
        QCOMPARE(Entries(m_dir->path()).size(), before.size() + (before.contains(name) ? 0 : 1));
        QCOMPARE(Mode(at(name)), before.contains(name) ? 0640 : 0644); // new: what umask allows
        QByteArray expected;
        QVERIFY(EncodeCp932(text, expected));
        QCOMPARE(Bytes(at(name)), expected);
        QString back = u"before"_s;
        QVERIFY(ReadTextFile(at(name), back));
        QCOMPARE(back, text);
    }

    void channelPositions()
    {
        const FileChannel channel = 2; // beside channel 1, which the whole-file operations use
        const QString path = at(u"song.lrc"_s);
        Put(path, "0123456789");
        QVERIFY(!OpenBinaryFile(channel, at(u"missing"_s), false, false));
        QVERIFY(!QFile::exists(at(u"missing"_s)));
        QVERIFY(OpenBinaryFile(channel, path, false, false));
        qint64 position = 1;
        QVERIFY(WriteBytes(channel, position, "abc"));
        QVERIFY(WriteBytes(channel, position, "defg"));
        QCOMPARE(position, 8);
        position = 0; // where the channel stands
        QVERIFY(WriteString(channel, position, u"h"_s));
        QCOMPARE(position, 9);
        QCOMPARE(Bytes(path), QByteArray("abcdefgh89")); // opening for writing cuts nothing
        QVERIFY(OpenBinaryFile(channel, path, false, true));
        QByteArray bytes = "kept";
        QVERIFY(!ReadBytes(channel, position, 3, bytes)); // only 2 bytes are left
        QCOMPARE(bytes, QByteArray("kept"));
        QCOMPARE(position, 9);
        position = 2;
        QString text;
        QVERIFY(ReadString(channel, position, 3, text));
        QCOMPARE(text, u"bcd"_s);
        QCOMPARE(position, 5);
        QVERIFY(WriteTextFile(path, text)); // closes every channel, as cleanup() checks
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
