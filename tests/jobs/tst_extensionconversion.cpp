#include "jobs/extensionconversion.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

QString Info(const QString& name, ResultCode code)
{
    return u"info:"_s + name + u"\r\nError:"_s + ErrorMessage(code);
}

} // namespace

class TestExtensionConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void renames_data();
    void renames();
    void neverReplacesWhatIsNoFile_data();
    void neverReplacesWhatIsNoFile();
    void stripsLeadingDots_data();
    void stripsLeadingDots();
    void remembersNewExtension_data();
    void remembersNewExtension();
};

void TestExtensionConversion::renames_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<QStringList>("queue");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<QList<ResultCode>>("results");
    QTest::addColumn<bool>("allOk");
    QTest::addColumn<FileSet>("after");

    const QStringList none;
    QTest::newRow("the last extension is replaced")
        << FileSet{{u"song.txt"_s, "1"}, {u"a.b.txt"_s, "2"}}
        << QStringList{u"song.txt"_s, u"a.b.txt"_s} << u"lrc"_s << none << QList<ResultCode>{0, 0}
        << true << FileSet{{u"song.lrc"_s, "1"}, {u"a.b.lrc"_s, "2"}, {u"song.txt"_s, Missing}};
    QTest::newRow("a name without a dot gets the extension")
        << FileSet{{u"README"_s, "1"}} << QStringList{u"README"_s} << u"lrc"_s << none
        << QList<ResultCode>{0} << true << FileSet{{u"README.lrc"_s, "1"}};
    QTest::newRow("the extension is used with its case and inner dots")
        << FileSet{{u"song.txt"_s, "1"}} << QStringList{u"song.txt"_s} << u"t.XT"_s << none
        << QList<ResultCode>{0} << true << FileSet{{u"song.t.XT"_s, "1"}};
    QTest::newRow("a dropped folder is renamed like a file")
        << FileSet{{u"album.old"_s, FolderMark}} << QStringList{u"album.old"_s} << u"new"_s << none
        << QList<ResultCode>{0} << true << FileSet{{u"album.new"_s, FolderMark}};
    QTest::newRow("a taken name and a file's own name both give 31, naming the new name")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, "lrc"}}
        << QStringList{u"song.txt"_s, u"song.lrc"_s} << u"lrc"_s
        << QStringList{Info(u"song.lrc"_s, 31), Info(u"song.lrc"_s, 31)}
        << QList<ResultCode>{31, 31} << false
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, "lrc"}};
    QTest::newRow("a folder under the new name gives 32 and both stay")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, FolderMark}}
        << QStringList{u"song.txt"_s} << u"lrc"_s << QStringList{Info(u"song.lrc"_s, 32)}
        << QList<ResultCode>{32} << false
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, FolderMark}};
    QTest::newRow("an empty folder under a folder's new name gives 32 and both stay")
        << FileSet{{u"album.old/track"_s, "t"}, {u"album.new"_s, FolderMark}}
        << QStringList{u"album.old"_s} << u"new"_s << QStringList{Info(u"album.new"_s, 32)}
        << QList<ResultCode>{32} << false
        << FileSet{{u"album.old/track"_s, "t"}, {u"album.new"_s, FolderMark}};
    QTest::newRow("two failures give two messages and the file after them is renamed")
        << FileSet{{u"c.txt"_s, "c"}} << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s} << u"lrc"_s
        << QStringList{Info(u"a.lrc"_s, 32), Info(u"b.lrc"_s, 32)} << QList<ResultCode>{32, 32, 0}
        << false << FileSet{{u"c.lrc"_s, "c"}};
    QTest::newRow("an extension with a separator moves nothing into another folder")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.x"_s, FolderMark}} << QStringList{u"song.txt"_s}
        << u"x/y"_s << QStringList{Info(u"y"_s, 32)} << QList<ResultCode>{32} << false
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.x/y"_s, Missing}};
    QTest::newRow("an empty queue gives false") << FileSet() << QStringList() << u"lrc"_s << none
                                                << QList<ResultCode>() << false << FileSet();
}

void TestExtensionConversion::renames()
{
    QFETCH(FileSet, files);
    QFETCH(QStringList, queue);
    QFETCH(QString, newExtension);
    QFETCH(QStringList, dialogs);
    QFETCH(QList<ResultCode>, results);
    QFETCH(bool, allOk);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    QStringList paths;
    for (const QString& name : queue)
        paths.append(dir.filePath(name));

    BatchResults found{99};
    QCOMPARE(BatchRename(paths, newExtension, bench.context, found), allOk);
    QCOMPARE(bench.log.dialogs(), dialogs);
    QCOMPARE(found, results);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

// What answers to the new name without being a file that FileExists sees must not be replaced
// by the rename either.
void TestExtensionConversion::neverReplacesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a link to nowhere") << u"dangling"_s;
    QTest::newRow("a link to a folder") << u"folder link"_s;
}

void TestExtensionConversion::neverReplacesWhatIsNoFile()
{
    QFETCH(QString, kind);
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, {{u"song.txt"_s, "txt"}, {u"folder"_s, FolderMark}}));
    const QString target =
        kind == u"dangling" ? dir.filePath(u"nowhere"_s) : dir.filePath(u"folder"_s);
    QVERIFY(QFile::link(target, dir.filePath(u"song.lrc"_s)));

    JobBench bench;
    BatchResults results;
    QVERIFY(!BatchRename({dir.filePath(u"song.txt"_s)}, u"lrc"_s, bench.context, results));
    QCOMPARE(results, BatchResults{32});
    QCOMPARE(bench.log.dialogs(), QStringList{Info(u"song.lrc"_s, 32)});
    QCOMPARE(QFileInfo(dir.filePath(u"song.lrc"_s)).symLinkTarget(), target);
    QCOMPARE(Describe(dir.filePath(u"song.txt"_s)), QByteArray("txt"));
}

void TestExtensionConversion::stripsLeadingDots_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("one dot") << u".lrc"_s << u"lrc"_s;
    QTest::newRow("several dots") << u"..lrc"_s << u"lrc"_s;
    QTest::newRow("a dot inside stays") << u".t.xt"_s << u"t.xt"_s;
    QTest::newRow("a trailing dot stays") << u"lrc."_s << u"lrc."_s;
    QTest::newRow("only dots leave nothing") << u"..."_s << QString();
    QTest::newRow("no dot") << u"LRC"_s << u"LRC"_s;
}

void TestExtensionConversion::stripsLeadingDots()
{
    QFETCH(QString, typed);
    QFETCH(QString, stripped);
    QCOMPARE(StripLeadingDots(typed), stripped);
}

void TestExtensionConversion::remembersNewExtension_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("list");

    const QStringList ten{u"e0"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s,
                          u"e5"_s, u"e6"_s, u"e7"_s, u"e8"_s, u"e9"_s};
    QTest::newRow("the comparison is case-sensitive")
        << u"lrc"_s << QStringList{u"TXT"_s, u"SRC"_s, u"LRC"_s}
        << QStringList{u"lrc"_s, u"TXT"_s, u"SRC"_s, u"LRC"_s};
    QTest::newRow("an exact copy moves to the top")
        << u"SRC"_s << QStringList{u"TXT"_s, u"SRC"_s, u"LRC"_s}
        << QStringList{u"SRC"_s, u"TXT"_s, u"LRC"_s};
    QTest::newRow("ten items and a new one: the oldest goes")
        << u"new"_s << ten << QStringList{u"new"_s} + ten.mid(0, 9);
    QTest::newRow("ten items with a copy among them: nine remain")
        << u"e3"_s << ten << QStringList{u"e3"_s, u"e0"_s, u"e1"_s, u"e2"_s, u"e4"_s,
                                         u"e5"_s, u"e6"_s, u"e7"_s, u"e8"_s};
    QTest::newRow("a copy past the tenth position is dropped, not kept twice")
        << u"e9"_s << ten << QStringList{u"e9"_s} + ten.mid(0, 9);
    QTest::newRow("an empty list") << u"lrc"_s << QStringList() << QStringList{u"lrc"_s};
    QTest::newRow("empty items leave no gap")
        << u"lrc"_s << QStringList{QString(), u"TXT"_s} << QStringList{u"lrc"_s, u"TXT"_s};
}

void TestExtensionConversion::remembersNewExtension()
{
    QFETCH(QString, current);
    QFETCH(QStringList, items);
    QFETCH(QStringList, list);
    QCOMPARE(RememberNewExtension(current, items), list);
}

QTEST_GUILESS_MAIN(TestExtensionConversion)
#include "tst_extensionconversion.moc"
