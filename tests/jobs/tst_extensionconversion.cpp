#include "jobs/extensionconversion.h"
#include "jobtesting.h"

#include <QtTest>

using namespace kovrant;
using namespace kovrant::testing;
using namespace Qt::StringLiterals;

namespace {

QString Error(const QString& name, ResultCode code)
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
    void remembersNewExtension_data();
    void remembersNewExtension();
};

void TestExtensionConversion::renames_data()
{
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<Texts>("queue");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<Texts>("dialogs");
    QTest::addColumn<Codes>("results");
    QTest::addColumn<FileSet>("after");

    QTest::newRow("only the last extension is replaced, the new one as given")
        << FileSet{{u"song.txt"_s, "1"}, {u"a.b.txt"_s, "2"}, {u"README"_s, "3"}}
        << Texts{u"song.txt"_s, u"a.b.txt"_s, u"README"_s} << u"t.XT"_s << Texts() << Codes{0, 0, 0}
        << FileSet{{u"song.t.XT"_s, "1"},
                   {u"a.b.t.XT"_s, "2"},
                   {u"README.t.XT"_s, "3"},
                   {u"song.txt"_s, Missing}};
    QTest::newRow("a dropped folder is renamed like a file")
        << FileSet{{u"album.old/track"_s, "t"}} << Texts{u"album.old"_s} << u"new"_s << Texts()
        << Codes{0} << FileSet{{u"album.new/track"_s, "t"}};
    QTest::newRow("a taken name and a file's own name both give 31, naming the new name")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, "lrc"}}
        << Texts{u"song.txt"_s, u"song.lrc"_s} << u"lrc"_s
        << Texts{Error(u"song.lrc"_s, 31), Error(u"song.lrc"_s, 31)} << Codes{31, 31}
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, "lrc"}};
    QTest::newRow("a folder under the new name gives 32 and both stay")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, FolderMark}} << Texts{u"song.txt"_s}
        << u"lrc"_s << Texts{Error(u"song.lrc"_s, 32)} << Codes{32}
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.lrc"_s, FolderMark}};
    QTest::newRow("an empty folder under a folder's new name is not replaced")
        << FileSet{{u"album.old/track"_s, "t"}, {u"album.new"_s, FolderMark}}
        << Texts{u"album.old"_s} << u"new"_s << Texts{Error(u"album.new"_s, 32)} << Codes{32}
        << FileSet{{u"album.old/track"_s, "t"}, {u"album.new"_s, FolderMark}};
    QTest::newRow("two failures give two messages, the file after them is renamed")
        << FileSet{{u"c.txt"_s, "c"}} << Texts{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s} << u"lrc"_s
        << Texts{Error(u"a.lrc"_s, 32), Error(u"b.lrc"_s, 32)} << Codes{32, 32, 0}
        << FileSet{{u"c.lrc"_s, "c"}};
    QTest::newRow("an extension with a separator moves nothing into another folder")
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.x"_s, FolderMark}} << Texts{u"song.txt"_s}
        << u"x/y"_s << Texts{Error(u"y"_s, 32)} << Codes{32}
        << FileSet{{u"song.txt"_s, "txt"}, {u"song.x/y"_s, Missing}};
}

void TestExtensionConversion::renames()
{
    QFETCH(FileSet, files);
    QFETCH(Texts, queue);
    QFETCH(QString, newExtension);
    QFETCH(Texts, dialogs);
    QFETCH(Codes, results);
    QFETCH(FileSet, after);

    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, files));
    JobBench bench;
    for (QString& name : queue)
        name = dir.filePath(name);

    BatchResults found{99};
    QCOMPARE(BatchRename(queue, newExtension, bench.context, found), dialogs.isEmpty());
    QCOMPARE(bench.recorder.dialogs(), dialogs);
    QCOMPARE(found, results);
    QString mismatch;
    QVERIFY2(Matches(dir, after, mismatch), qPrintable(mismatch));
}

// What answers to the new name without being a file FileExists sees is not replaced either.
void TestExtensionConversion::neverReplacesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::newRow("a link to nowhere") << u"nowhere"_s;
    QTest::newRow("a link to a folder") << u"folder"_s;
}

void TestExtensionConversion::neverReplacesWhatIsNoFile()
{
    QFETCH(QString, linkTarget);
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(Populate(dir, {{u"song.txt"_s, "txt"}, {u"folder"_s, FolderMark}}));
    QVERIFY(QFile::link(dir.filePath(linkTarget), dir.filePath(u"song.lrc"_s)));

    JobBench bench;
    BatchResults results;
    QVERIFY(!BatchRename({dir.filePath(u"song.txt"_s)}, u"lrc"_s, bench.context, results));
    QCOMPARE(results, BatchResults{32});
    QCOMPARE(QFileInfo(dir.filePath(u"song.lrc"_s)).symLinkTarget(), dir.filePath(linkTarget));
    QCOMPARE(Describe(dir.filePath(u"song.txt"_s)), QByteArray("txt"));
}

void TestExtensionConversion::remembersNewExtension_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<Texts>("items");
    QTest::addColumn<Texts>("list");

    const Texts ten{u"e0"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s,
                    u"e5"_s, u"e6"_s, u"e7"_s, u"e8"_s, u"e9"_s};
    QTest::newRow("the comparison is case-sensitive")
        << u"lrc"_s << Texts{u"TXT"_s, u"SRC"_s, u"LRC"_s}
        << Texts{u"lrc"_s, u"TXT"_s, u"SRC"_s, u"LRC"_s};
    QTest::newRow("an exact copy moves to the top")
        << u"SRC"_s << Texts{u"TXT"_s, u"SRC"_s, u"LRC"_s} << Texts{u"SRC"_s, u"TXT"_s, u"LRC"_s};
    QTest::newRow("ten items and a new one: the oldest goes")
        << u"new"_s << ten << Texts{u"new"_s} + ten.mid(0, 9);
    QTest::newRow("ten items with a copy among them: nine remain")
        << u"e3"_s << ten
        << Texts{u"e3"_s, u"e0"_s, u"e1"_s, u"e2"_s, u"e4"_s, u"e5"_s, u"e6"_s, u"e7"_s, u"e8"_s};
    QTest::newRow("a copy past the tenth position is dropped, not kept twice")
        << u"e9"_s << ten << Texts{u"e9"_s} + ten.mid(0, 9);
}

void TestExtensionConversion::remembersNewExtension()
{
    QFETCH(QString, current);
    QFETCH(Texts, items);
    QFETCH(Texts, list);
    QCOMPARE(RememberNewExtension(current, items), list);
}

QTEST_GUILESS_MAIN(TestExtensionConversion)
#include "tst_extensionconversion.moc"
