#include "ui/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kovrant::StoredSettings)

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temp;
    QString path() const { return m_temp.filePath(u"Kovrant.ini"_s); }
    bool writeFile(const QByteArray& lines) const
    {
        QFile file(path());
        return file.open(QIODevice::WriteOnly) && file.write("[Init]\n" + lines) > 0;
    }
    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void loads_data()
    {
        QTest::addColumn<QByteArray>("stored"); // lines of the group "Init"; "" for no file
        QTest::addColumn<StoredSettings>("loaded");
        QTest::newRow("no file is a first start") << QByteArray() << StoredSettings{};
        QTest::newRow("what the window writes")
            << QByteArray("AlwaysTop=False\nOverWrite=True\nNoCRCCheck=True\nTimeRatio=2\n"
                          "Ext0=1\nExt1=2\nOutFolder=/o/\nSameTTD=0\nNewExtMax=1\nNewExt0=a\n"
                          "NewExt1=b\nLastMode=0\n")
            << StoredSettings{false, true, true, 2, 1, 2, u"/o/"_s, false, {u"a"_s, u"b"_s}, 0};
        QTest::newRow("truth values in any case")
            << QByteArray("AlwaysTop=false\nOverWrite=TRUE\n")
            << StoredSettings{.alwaysTop = false, .overwrite = true};
        QTest::newRow("unreadable values give their defaults")
            << QByteArray("AlwaysTop=1\nOverWrite=yes\nTimeRatio=x\nExt0=0.5\nExt1= \n"
                          "SameTTD=True\nNewExtMax=two\nLastMode=@Invalid()\n")
            << StoredSettings{};
        QTest::newRow("values out of range give their defaults")
            << QByteArray("TimeRatio=3\nExt0=-1\nExt1=3\nSameTTD=2\nNewExtMax=10\nNewExt0=a\n"
                          "LastMode=5\n")
            << StoredSettings{};
        QTest::newRow("a folder read as a list is no text")
            << QByteArray("OutFolder=/a, b/\n") << StoredSettings{};
        QTest::newRow("empty items leave no gap, items past NewExtMax are not read")
            << QByteArray("NewExtMax=2\nNewExt0=\nNewExt1=b\nNewExt3=d\n")
            << StoredSettings{.newExtensions = {u"b"_s}};
        QTest::newRow("binary garbage and a file cut short: what can be read, else defaults")
            << QByteArray("\x00\xFF\xFE\x01=\x02\n[Init\nLastMode=1\nAlwaysTop=Fal", 37)
            << StoredSettings{.lastMode = 1};
        QTest::newRow("a saved empty list starts as the three defaults")
            << QByteArray("NewExtMax=-1\nNewExt0=a\n") << StoredSettings{};
    }
    void loads()
    {
        QFETCH(QByteArray, stored);
        QFETCH(StoredSettings, loaded);
        QVERIFY(stored.isEmpty() || writeFile(stored));
        QCOMPARE(SettingsStore(path()).load(), loaded);
    }

    void savesWhatItLoads()
    {
        const StoredSettings values{false,
                                    true,
                                    false,
                                    2,
                                    0,
                                    1,
                                    u"/tmp/歌 詞, a;b=\"c\" @d\\e/"_s,
                                    false,
                                    {u"bak"_s, u"漢字"_s, u"x"_s},
                                    4};
        QVERIFY(SettingsStore(path()).save(values));
        for (const char* line : {"AlwaysTop=False\n", "OverWrite=True\n", "NoCRCCheck=False\n",
                                 "TimeRatio=2\n", "Ext0=0\n", "Ext1=1\n", "SameTTD=0\n",
                                 "NewExtMax=2\n", "NewExt0=bak\n", "LastMode=4\n"})
            QVERIFY2(readFile().contains(line), line);
        QCOMPARE(SettingsStore(path()).load(), values);

        // A shorter list leaves the items past its end in the file, unread.
        StoredSettings shorter = values;
        shorter.newExtensions = {u"y"_s};
        QVERIFY(SettingsStore(path()).save(shorter));
        QVERIFY(readFile().contains("NewExtMax=0\n") && readFile().contains("NewExt2=x\n"));
        QCOMPARE(SettingsStore(path()).load(), shorter);
        shorter.newExtensions.clear();
        QVERIFY(SettingsStore(path()).save(shorter));
        QVERIFY(readFile().contains("NewExtMax=-1\n"));
    }

    void storeThatCannotBeUsedIsHarmless()
    {
        QVERIFY(writeFile("LastMode=1\n"));
        const SettingsStore store(path() + u"/Kovrant.ini"_s); // its folder is a file
        QCOMPARE(store.load(), StoredSettings{});
        QVERIFY(!store.save(StoredSettings{}));
        QCOMPARE(readFile(), QByteArray("[Init]\nLastMode=1\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
