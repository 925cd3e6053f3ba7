#include "ui/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

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
        QVERIFY(SettingsStore(path()).save(values));
        for (const char* line : {"AlwaysTop=False\n", "OverWrite=True\n", "NoCRCCheck=False\n",
                                 "TimeRatio=2\n", "Ext0=0\n", "Ext1=1\n", "SameTTD=0\n",
                                 "NewExtMax=1\n", "NewExt0=bak\n", "LastMode=4\n"})
            QVERIFY2(readFile().contains(line), line);
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
