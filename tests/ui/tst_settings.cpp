#include "ui/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// The values in one line: the options set, then "ratio ext0,ext1 same|own out=... new=... mode".
QString Describe(const StoredSettings& v)
{
    QStringList words;
    for (const auto& [on, word] :
         {std::pair{v.alwaysTop, "top"}, {v.overwrite, "over"}, {v.noCrcCheck, "nocrc"}})
        if (on)
            words << QLatin1StringView(word);
    words << u"ratio%1 ext%2,%3"_s.arg(v.timeRatio).arg(v.ext0).arg(v.ext1)
          << (v.sameTtd ? u"same"_s : u"own"_s) << u"out="_s + v.outFolder
          << u"new="_s + v.newExtensions.join(u',') << u"mode%1"_s.arg(v.lastMode);
    return words.join(u' ');
}

const QString FirstStart = u"top ratio0 ext0,0 same out= new=TXT,SRC,LRC mode3"_s;

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_temp;
    QString path() const { return m_temp.filePath(u"Kovrant.ini"_s); }
    void writeFile(const QByteArray& lines)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Init]\n" + lines);
    }
    QByteArray readFile()
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void loads_data()
    {
        QTest::addColumn<QByteArray>("stored"); // lines of the group "Init"; "-" for no file
        QTest::addColumn<QString>("loaded");
        QTest::newRow("no file is a first start") << QByteArray("-") << FirstStart;
        QTest::newRow("what the window writes")
            << QByteArray("AlwaysTop=False\nOverWrite=True\nNoCRCCheck=True\nTimeRatio=2\n"
                          "Ext0=1\nExt1=2\nOutFolder=/o/\nSameTTD=0\nNewExtMax=1\nNewExt0=a\n"
                          "NewExt1=b\nLastMode=0\n")
            << u"over nocrc ratio2 ext1,2 own out=/o/ new=a,b mode0"_s;
        QTest::newRow("truth values in any case")
            << QByteArray("AlwaysTop=false\nOverWrite=TRUE\n")
            << u"over ratio0 ext0,0 same out= new=TXT,SRC,LRC mode3"_s;
        QTest::newRow("unreadable values fall back to their defaults")
            << QByteArray("AlwaysTop=1\nOverWrite=yes\nTimeRatio=x\nExt0=0.5\nExt1= \n"
                          "SameTTD=True\nNewExtMax=two\nLastMode=@Invalid()\n")
            << FirstStart;
        QTest::newRow("values out of range fall back to their defaults")
            << QByteArray("TimeRatio=3\nExt0=-1\nExt1=3\nSameTTD=2\nNewExtMax=10\nNewExt0=a\n"
                          "LastMode=5\n")
            << FirstStart;
        QTest::newRow("a folder read as a list is no text")
            << QByteArray("OutFolder=/a, b/\n") << FirstStart;
        QTest::newRow("empty items leave no gap, items past NewExtMax are not read")
            << QByteArray("NewExtMax=2\nNewExt0=\nNewExt1=b\nNewExt3=d\n")
            << u"top ratio0 ext0,0 same out= new=b mode3"_s;
        QTest::newRow("a saved empty list starts as the three defaults")
            << QByteArray("NewExtMax=-1\nNewExt0=a\n") << FirstStart;
    }
    void loads()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, loaded);
        if (stored != "-")
            writeFile(stored);
        QCOMPARE(Describe(SettingsStore(path()).load()), loaded);
    }

    void savesTheTextForms()
    {
        StoredSettings values;
        values.alwaysTop = false;
        values.overwrite = true;
        values.timeRatio = 2;
        values.ext1 = 1;
        values.outFolder = u"/tmp/歌 詞, a;b=\"c\" @d\\e/"_s;
        values.sameTtd = false;
        values.newExtensions = {u"bak"_s, u"漢字"_s};
        values.lastMode = 4;
        QVERIFY(SettingsStore(path()).save(values));
        const QByteArray file = readFile();
        for (const char* line : {"AlwaysTop=False\n", "OverWrite=True\n", "NoCRCCheck=False\n",
                                 "TimeRatio=2\n", "Ext0=0\n", "Ext1=1\n", "SameTTD=0\n",
                                 "NewExtMax=1\n", "NewExt0=bak\n", "LastMode=4\n"})
            QVERIFY2(file.contains(line), line);
        QCOMPARE(SettingsStore(path()).load(), values);
    }

    void shorterListLeavesOldItemsUnread()
    {
        StoredSettings values;
        values.newExtensions.clear();
        QVERIFY(SettingsStore(path()).save(values));
        QVERIFY(readFile().contains("NewExtMax=-1\n"));
        values.newExtensions = {u"1"_s, u"2"_s, u"3"_s, u"4"_s};
        QVERIFY(SettingsStore(path()).save(values));
        values.newExtensions = {u"x"_s};
        QVERIFY(SettingsStore(path()).save(values));
        QVERIFY(readFile().contains("NewExt3=4\n"));
        QCOMPARE(SettingsStore(path()).load().newExtensions, values.newExtensions);
    }

    void storeThatCannotBeUsedIsHarmless()
    {
        writeFile("LastMode=1\n");
        const SettingsStore store(path() + u"/Kovrant.ini"_s); // a folder that is a file
        QCOMPARE(Describe(store.load()), FirstStart);
        QVERIFY(!store.save(StoredSettings()));
        QCOMPARE(readFile(), QByteArray("[Init]\nLastMode=1\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
