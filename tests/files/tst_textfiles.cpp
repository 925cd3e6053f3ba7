#include "files/textfiles.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString Fixture(const QString& name)
{
    return QStringLiteral(KOVRANT_TEST_DATA "/files/") + name;
}

mode_t Mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

qsizetype OpenFdCount()
{
    return QDir(u"/proc/self/fd"_s)
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

} // namespace

class TestTextFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString at(const QString& name) const { return m_dir->filePath(name); }
    QStringList entries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        Put(at(u"song.lrc"_s), "abc");
        Put(at(u"empty.lrc"_s), QByteArray());
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
        QVERIFY(QFile::link(at(u"song.lrc"_s), at(u"link-to-file"_s)));
        QVERIFY(QFile::link(at(u"folder"_s), at(u"link-to-folder"_s)));
        QVERIFY(QFile::link(at(u"gone"_s), at(u"dangling"_s)));
    }

    void cleanup()
    {
        SetPendingEventsHook({});
        CloseAllFileChannels();
        m_dir.reset();
    }

    void fileExists_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("regular file") << u"song.lrc"_s << true;
        QTest::newRow("empty file") << u"empty.lrc"_s << true;
        QTest::newRow("link to a file") << u"link-to-file"_s << true;
        QTest::newRow("folder") << u"folder"_s << false;
        QTest::newRow("link to a folder") << u"link-to-folder"_s << false;
        QTest::newRow("dangling link") << u"dangling"_s << false;
        QTest::newRow("star is no wildcard") << u"*.lrc"_s << false;
        QTest::newRow("question mark is no wildcard") << u"song.lr?"_s << false;
        QTest::newRow("file with a trailing separator") << u"song.lrc/"_s << false;
    }

    void fileExists()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QCOMPARE(FileExists(at(name)), exists);
        QVERIFY(!FileExists(QString()));
        Put(at(u"*.lrc"_s), "x"); // a name that really holds "*"
        QVERIFY(FileExists(at(u"*.lrc"_s)));
    }

    void inputChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // written to name first unless null
        QTest::addColumn<int>("check");
        QTest::addColumn<int>("load");
        QTest::newRow("exactly the limit") << u"a"_s << QByteArray(60000, 'a') << 0 << 0;
        QTest::newRow("one byte over the limit") << u"a"_s << QByteArray(60001, 'a') << 12 << 0;
        QTest::newRow("empty file passes the check") << u"empty.lrc"_s << QByteArray() << 0 << 14;
        QTest::newRow("missing file") << u"missing.lrc"_s << QByteArray() << 11 << 13;
        QTest::newRow("folder is no file") << u"folder"_s << QByteArray() << 11 << 13;
        QTest::newRow("invalid bytes fail the read") << u"a"_s << QByteArray("ok\x82") << 0 << 13;
    }

    void inputChecks()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, check);
        QFETCH(int, load);
        if (!bytes.isNull())
            Put(at(name), bytes);
        QCOMPARE(CheckInputFile(at(name)), check);
        QString text = u"before"_s;
        QCOMPARE(LoadInputText(at(name), text), load);
        QCOMPARE(text, load == 0 ? QString::fromLatin1(bytes) : u"before"_s);
    }

    void canOpenForWrite_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writable");
        QTest::newRow("existing file") << u"song.lrc"_s << true;
        QTest::newRow("new file in an existing folder") << u"new.lrc"_s << true;
        QTest::newRow("folder") << u"folder"_s << false;
        QTest::newRow("file in a missing folder") << u"missing/new.lrc"_s << false;
    }

    void canOpenForWrite()
    {
        QFETCH(QString, name);
        QFETCH(bool, writable);
        const QStringList before = entries();
        const QDateTime modified = QFileInfo(at(u"song.lrc"_s)).lastModified();
        QCOMPARE(CanOpenForWrite(at(name)), writable);
        QCOMPARE(entries(), before);
        QCOMPARE(Bytes(at(u"song.lrc"_s)), QByteArray("abc"));
        QCOMPARE(QFileInfo(at(u"song.lrc"_s)).lastModified(), modified);
    }

    void overwriteLeavesExactlyTheNewBytes_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QString>("text");
        QTest::newRow("100 bytes overwritten by 10") << QByteArray(100, 'x') << u"0123456789"_s;
        QTest::newRow("empty text over a file") << QByteArray(100, 'x') << QString();
        QTest::newRow("empty text to a new file") << QByteArray() << QString();
        QTest::newRow("text to a new file") << QByteArray() << u"a\r\nb"_s;
    }

    void overwriteLeavesExactlyTheNewBytes()
    {
        QFETCH(QByteArray, old);
        QFETCH(QString, text);
        const QString path = at(u"out.txt"_s);
        if (!old.isNull())
            Put(path, old);
        const QStringList before = entries();
        int hookCalls = 0;
        SetPendingEventsHook([&hookCalls] { ++hookCalls; });
        QVERIFY(WriteTextFile(path, text));
        QCOMPARE(Bytes(path), text.toLatin1());
        QCOMPARE(entries().size(), before.size() + (old.isNull() ? 1 : 0));
        QCOMPARE(hookCalls, 1);
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing folder") << u"missing/out.txt"_s << u"x"_s;
        QTest::newRow("folder") << u"folder"_s << u"x"_s;
        QTest::newRow("link to a folder") << u"link-to-folder"_s << u"x"_s;
        QTest::newRow("empty path") << QString() << u"x"_s;
        QTest::newRow("wave dash has no code") << u"song.lrc"_s << u"\u301C"_s;
        QTest::newRow("emoji has no code") << u"song.lrc"_s << u"a\U0001F3A4b"_s;
        QTest::newRow("lone surrogate") << u"song.lrc"_s << QString(QChar(0xD800));
        QTest::newRow("no code, new file") << u"new.lrc"_s << u"\u301C"_s;
    }

    void refusedWrites()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QStringList before = entries();
        QVERIFY(!WriteTextFile(name.isEmpty() ? name : at(name), text));
        QCOMPARE(entries(), before);
        QCOMPARE(Bytes(at(u"song.lrc"_s)), QByteArray("abc"));
        QCOMPARE(QDir(at(u"folder"_s)).count(), 2u);
    }

    void readOnlyTargetIsRefused()
    {
        if (::geteuid() == 0)
            QSKIP("permission bits do not stop root");
        QVERIFY(QFile::setPermissions(at(u"song.lrc"_s), QFile::ReadOwner));
        const QStringList before = entries();
        QVERIFY(!WriteTextFile(at(u"song.lrc"_s), u"new"_s));
        QCOMPARE(Bytes(at(u"song.lrc"_s)), QByteArray("abc"));
        QCOMPARE(entries(), before);
    }

    void replacementKeepsPermissionsAndLinks()
    {
        QCOMPARE(::chmod(QFile::encodeName(at(u"song.lrc"_s)).constData(), 0640), 0);
        QVERIFY(WriteTextFile(at(u"link-to-file"_s), u"through the link"_s));
        QCOMPARE(QFileInfo(at(u"link-to-file"_s)).symLinkTarget(), at(u"song.lrc"_s));
        QCOMPARE(Bytes(at(u"song.lrc"_s)), QByteArray("through the link"));
        QCOMPARE(Mode(at(u"song.lrc"_s)), 0640u);

        // A new file gets what the umask allows, like any file the user creates.
        const mode_t oldMask = ::umask(022);
        const bool written = WriteTextFile(at(u"new.lrc"_s), u"x"_s);
        ::umask(oldMask);
        QVERIFY(written);
        QCOMPARE(Mode(at(u"new.lrc"_s)), 0644u);
    }

    void writeThatFailsPartWayKeepsOldFile()
    {
        // A file size limit makes the kernel refuse the write after 64 bytes, as a full disk
        // would.
        const QString path = at(u"song.lrc"_s);
        Put(path, QByteArray(100, 'o'));
        const QStringList before = entries();
        const QString big(4096, u'n');
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = 64;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool overwritten = WriteTextFile(path, big);
        const bool created = WriteTextFile(at(u"new.lrc"_s), big);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!overwritten);
        QVERIFY(!created);
        QCOMPARE(Bytes(path), QByteArray(100, 'o'));
        QCOMPARE(entries(), before);
        QVERIFY(WriteTextFile(path, big)); // the same write works without the limit
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("CRLF") << u"a\r\nb\r\n"_s;
        QTest::newRow("LF") << u"a\nb\n"_s;
        QTest::newRow("CR") << u"a\rb\r"_s;
        QTest::newRow("mixed, no final break") << u"a\r\n\nb\r\r\nc"_s;
        QTest::newRow("Japanese with tags") << u"[00:12:34]歌詞の\r\n[00:13:00]テスト　ｶﾅ\r\n"_s;
    }

    void roundTrip()
    {
        QFETCH(QString, text);
        const QString path = at(u"out.txt"_s);
        QVERIFY(WriteTextFile(path, text));
        QString back = u"before"_s;
        QVERIFY(ReadTextFile(path, back));
        QCOMPARE(back, text);
    }

    void fixtures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("writtenBack"); // null: the fixture's own bytes
        QTest::newRow("half-width kana")
            << u"cp932-kana.txt"_s << u"ｶﾗｵｹ [00:12:34]ﾀｲﾑﾀｸﾞ\r\n歌詞 ｡｢ｰ｣\r\n"_s << QByteArray();
        QTest::newRow("NEC row 13")
            << u"cp932-nec13.txt"_s << u"①⑳ⅠⅩ㍉㌔№㏍℡㊤㈱㍻\n"_s << QByteArray();
        QTest::newRow("IBM extensions")
            << u"cp932-ibm.txt"_s << u"ⅰⅹ￤＇＂纊褜鍈銈蓜﨑髙黑\r"_s << QByteArray();
        QTest::newRow("codes Windows rewrites")
            << u"cp932-rewritten.txt"_s << u"纊褜≒∵"_s << QByteArray::fromHex("FA5CFA5D81E081E6");
    }

    void fixtures()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QByteArray, writtenBack);
        QString read;
        QVERIFY(ReadTextFile(Fixture(name), read));
        QCOMPARE(read, text);
        QVERIFY(WriteTextFile(at(name), read));
        QCOMPARE(Bytes(at(name)), writtenBack.isNull() ? Bytes(Fixture(name)) : writtenBack);
    }

    void invalidBytesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lead byte at the end") << u"invalid-lead-at-end.txt"_s;
        QTest::newRow("lead byte with a bad trail byte") << u"invalid-bad-trail.txt"_s;
        QTest::newRow("UTF-8 Japanese") << u"utf8-japanese.txt"_s;
    }

    void invalidBytesAreRefused()
    {
        QFETCH(QString, name);
        const QString path = at(name);
        QVERIFY(QFile::copy(Fixture(name), path));
        QString text = u"before"_s;
        QVERIFY(!ReadTextFile(path, text));
        QCOMPARE(text, QString());
        QCOMPARE(LoadInputText(path, text), Result::ReadFailed);
        QCOMPARE(Bytes(path), Bytes(Fixture(name)));
    }

    void noFileStaysOpen()
    {
        const qsizetype before = OpenFdCount();
        const QString path = at(u"out.txt"_s);
        QString text;
        QVERIFY(WriteTextFile(path, u"abc"_s));
        QVERIFY(!WriteTextFile(path, u"\u301C"_s));
        QVERIFY(ReadTextFile(path, text));
        Put(at(u"invalid"_s), "\x82");
        QVERIFY(!ReadTextFile(at(u"invalid"_s), text));
        QVERIFY(CanOpenForWrite(path));
        QCOMPARE(LoadInputText(path, text), Result::Ok);
        QCOMPARE(OpenFdCount(), before);
        QVERIFY(QFile::remove(path));

        // A channel left open is closed by the next whole-file operation.
        QVERIFY(OpenBinaryFile(FreeFileChannel(), at(u"song.lrc"_s), false, true));
        QCOMPARE(OpenFdCount(), before + 1);
        QVERIFY(ReadTextFile(at(u"song.lrc"_s), text));
        QCOMPARE(OpenFdCount(), before);
    }

    void channelPositions()
    {
        const QString path = at(u"song.lrc"_s);
        Put(path, "0123456789");
        const FileChannel channel = FreeFileChannel();
        QVERIFY(OpenBinaryFile(channel, path, false, false));
        QCOMPARE(FreeFileChannel(), channel + 1);
        qint64 position = 1;
        QVERIFY(WriteBytes(channel, position, "abc"));
        QVERIFY(WriteBytes(channel, position, "defg"));
        QCOMPARE(position, 8);
        position = 0; // where the channel stands
        QVERIFY(WriteString(channel, position, u"h"_s));
        QCOMPARE(position, 9);
        QVERIFY(!WriteString(channel, position, u"\u301C"_s));
        QCOMPARE(position, 9);
        CloseFileChannel(channel);
        QCOMPARE(Bytes(path), QByteArray("abcdefgh89")); // opening for writing cuts nothing

        QVERIFY(OpenBinaryFile(channel, path, false, true));
        QByteArray bytes = "kept";
        QVERIFY(!ReadBytes(channel, position, 3, bytes)); // only 2 bytes are left
        QCOMPARE(position, 9);
        QCOMPARE(bytes, QByteArray("kept"));
        QVERIFY(!WriteBytes(channel, position, "x")); // opened for reading
        position = 2;
        QVERIFY(ReadBytes(channel, position, 2, bytes));
        position = 0;
        QString text;
        QVERIFY(ReadString(channel, position, 3, text));
        QCOMPARE(bytes + text.toLatin1(), QByteArray("bcdef"));
        QCOMPARE(position, 7);

        QVERIFY(!OpenBinaryFile(channel, at(u"missing"_s), false, false));
        QVERIFY(!QFile::exists(at(u"missing"_s)));
        QVERIFY(!OpenBinaryFile(channel, at(u"folder"_s), true, true));
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
