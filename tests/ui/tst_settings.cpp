#include "ui/settings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kovrant;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(kovrant::StoredSettings)

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    QString path() const { return m_temp.filePath(u"Kovrant.ini"_s); }
    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    // What save writes is pinned by savesWhatItLoads, and no file at all by tst_formmain's first
    // start; these are files as a user or a crash may leave them.
    void loads_data()
    {
        QTest::addColumn<QByteArray>("stored"); // lines of the group "Init"
        QTest::addColumn<StoredSettings>("loaded");
        QTest::newRow("truth values in any case")
            << QByteArray("AlwaysTop=false\nOverWrite=TRUE\n")
            << StoredSettings{.alwaysTop = false, .overwrite = true};
        QTest::newRow("unreadable or out-of-range values give their defaults")
            << QByteArray("AlwaysTop=1\nOverWrite=yes\nTimeRatio=3\nExt0=0.5\nExt1= \n"
                          "SameTTD=2\nNewExtMax=10\nNewExt0=a\nLastMode=5\n")
            << StoredSettings{};
        QTest::newRow("empty items leave no gap, items past NewExtMax are not read")
            << QByteArray("NewExtMax=2\nNewExt0=\nNewExt1=b\nNewExt3=d\n")
            << StoredSettings{.newExtensions = {u"b"_s}};
        QTest::newRow("binary garbage and a file cut short: what can be read, else defaults")
            << QByteArray("\x00\xFF\xFE\x01=\x02\n[Init\nLastMode=1\nAlwaysTop=Fal", 37)
            << StoredSettings{.lastMode = MainMode::Combine};
        QTest::newRow("a saved empty list starts as the three defaults")
            << QByteArray("NewExtMax=-1\nNewExt0=a\n") << StoredSettings{};
        QTest::newRow("the window's group: its place and the folder used last")
            << QByteArray("[Window]\nLeft=-20\nTop=30\nLastFolder=/k/\xE6\xAD\x8C\n")
            << StoredSettings{.windowPlace = QPoint(-20, 30), .lastFolder = u"/k/歌"_s};
        QTest::newRow("half a place, or one far beyond any screen, is none")
            << QByteArray("[Window]\nLeft=10\nLastFolder=\n[Init]\nLeft=1\nTop=2\n"
                          "[Window]\nTop=2000000\n")
            << StoredSettings{};
    }
    void loads()
    {
        QFETCH(QByteArray, stored);
        QFETCH(StoredSettings, loaded);
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[Init]\n" + stored) > 0);
        file.close();
        QCOMPARE(SettingsStore(path()).load(), loaded);
    }

    void savesWhatItLoads()
    {
        const QString folder = u"/tmp/歌 詞, a;b=\"c\" @d\\e/"_s;
        StoredSettings values{
            false, true,   false, TimeRatioChoice::Ratio0_9953125, 0,
            1,     folder, false, {u"bak"_s, u"漢字"_s},           MainMode::ExtensionTool};
        values.windowPlace = QPoint(-5, 7);
        values.lastFolder = folder;
        QVERIFY(SettingsStore(path()).save(values));
        // The group "Init" keeps exactly its keys; the window's own are in a group of their own.
        const QByteArray init = readFile().left(readFile().indexOf("[Window]"));
        for (const char* line : {"AlwaysTop=False\n", "OverWrite=True\n", "NoCRCCheck=False\n",
                                 "TimeRatio=2\n", "Ext0=0\n", "Ext1=1\n", "SameTTD=0\n",
                                 "NewExtMax=1\n", "NewExt0=bak\n", "LastMode=4\n"})
            QVERIFY2(init.contains(line), line);
        QByteArrayList keys;
        for (const QByteArray& line : init.split('\n')) {
            if (line.contains('='))
                keys << line.left(line.indexOf('='));
        }
        std::sort(keys.begin(), keys.end());
        QCOMPARE(keys, QByteArrayList({"AlwaysTop", "Ext0", "Ext1", "LastMode", "NewExt0",
                                       "NewExt1", "NewExtMax", "NoCRCCheck", "OutFolder",
                                       "OverWrite", "SameTTD", "TimeRatio"}));
        QVERIFY(readFile().contains("[Window]\nLastFolder=") && readFile().contains("Left=-5\n"));
        QCOMPARE(SettingsStore(path()).load(), values);

        // A shorter list leaves the items past its end in the file, unread.
        values.newExtensions = {u"y"_s};
        QVERIFY(SettingsStore(path()).save(values));
        QVERIFY(readFile().contains("NewExtMax=0\n") && readFile().contains("NewExt1="));
        QCOMPARE(SettingsStore(path()).load(), values);
        values.newExtensions.clear();
        QVERIFY(SettingsStore(path()).save(values));
        QVERIFY(readFile().contains("NewExtMax=-1\n"));
    }

    // Neither the user's file found at the start nor a load or a save waits on a FIFO: it is no
    // settings file, and it stays as it is.
    void fifoAsTheSettingsFile()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_temp.path()));
        QVERIFY(QDir(m_temp.path()).mkpath(u"Kovrant"_s));
        const QString fifo = m_temp.filePath(u"Kovrant/Kovrant.ini"_s);
        const QByteArray name = QFile::encodeName(fifo);
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
        // A reader of the FIFO, which nothing here should be, gets an end of file instead of a
        // test that hangs: the watch opens the FIFO for writing now and then.
        std::atomic<int> freed = 0;
        {
            const std::jthread watch([&](std::stop_token stop) {
                for (; !stop.stop_requested(); std::this_thread::sleep_for(100ms)) {
                    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0 && ::close(fd) == 0)
                        ++freed;
                }
            });
            QCOMPARE(SettingsStore::defaultPath(), fifo);
            QCOMPARE(SettingsStore(fifo).load(), StoredSettings{});
            QVERIFY(!SettingsStore(fifo).save(StoredSettings{}));
        }
        QCOMPARE(freed, 0);
        struct stat info {};
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
        QVERIFY(QFile::remove(fifo));
        QCOMPARE(SettingsStore::defaultPath(),
                 QSettings(QSettings::IniFormat, QSettings::UserScope, u"Kovrant"_s, u"Kovrant"_s)
                     .fileName());
    }

    void storeThatCannotBeUsedIsHarmless()
    {
        QVERIFY(SettingsStore(path()).save(StoredSettings{.lastMode = MainMode::Combine}));
        const QByteArray before = readFile();
        const SettingsStore store(path() + u"/Kovrant.ini"_s); // its folder is a file
        QCOMPARE(store.load(), StoredSettings{});
        QVERIFY(!store.save(StoredSettings{}));
        QCOMPARE(readFile(), before);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
