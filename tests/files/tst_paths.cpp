#include "files/paths.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// Rows are written with "\" and added once as they stand and once with every "\" as "/".
void AddForBothSeparators(const char* name, const QString& path, const QStringList& expected)
{
    for (const QChar sep : {QChar(u'\\'), QChar(u'/')}) {
        auto swap = [sep](QString text) { return text.replace(u'\\', sep); };
        QStringList results;
        for (const QString& e : expected)
            results << swap(e);
        QTest::addRow("%s [%c]", name, sep.toLatin1()) << sep << swap(path) << results;
    }
}

} // namespace

class TestPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parts_data();
    void parts();
    void separatorAtTheEnd_data();
    void separatorAtTheEnd();
    void otherSlashIsNoSeparator();
    void defaultIsPlatformSeparator();
};

void TestPaths::parts_data()
{
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected"); // folder, file name, base name, extension

    AddForBothSeparators("plain file", u"C:\\lyrics\\song.lrc"_s,
                         {u"C:\\lyrics\\"_s, u"song.lrc"_s, u"song"_s, u"lrc"_s});
    AddForBothSeparators("two dots, extension case kept", u"C:\\lyrics\\song.old.TTD"_s,
                         {u"C:\\lyrics\\"_s, u"song.old.TTD"_s, u"song.old"_s, u"TTD"_s});
    AddForBothSeparators("dot only in the folder", u"C:\\my.dir\\song"_s,
                         {u"C:\\my.dir\\"_s, u"song"_s, u"song"_s, QString()});
    AddForBothSeparators("bare name has no file name part", u"song.txt"_s,
                         {QString(), QString(), u"song"_s, u"txt"_s});
    AddForBothSeparators("folder path", u"C:\\lyrics\\"_s,
                         {u"C:\\lyrics\\"_s, QString(), u"C:\\lyrics\\"_s, QString()});
    AddForBothSeparators("folder path with a dot uses the whole path", u"C:\\my.dir\\"_s,
                         {u"C:\\my.dir\\"_s, QString(), u"C:\\my"_s, u"dir\\"_s});
    AddForBothSeparators("name that starts with a dot", u"C:\\lyrics\\.txt"_s,
                         {u"C:\\lyrics\\"_s, u".txt"_s, QString(), u"txt"_s});
    AddForBothSeparators("name that ends in a dot", u"C:\\lyrics\\song."_s,
                         {u"C:\\lyrics\\"_s, u"song."_s, u"song"_s, QString()});
    AddForBothSeparators("empty path", QString(), {QString(), QString(), QString(), QString()});
}

void TestPaths::parts()
{
    QFETCH(QChar, sep);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);
    QCOMPARE(FolderPart(path, sep), expected[0]);
    QCOMPARE(FileNamePart(path, sep), expected[1]);
    QCOMPARE(BaseNamePart(path, sep), expected[2]);
    QCOMPARE(ExtensionPart(path, sep), expected[3]);
    if (!expected[3].isEmpty() || path.endsWith(u'.'))
        QVERIFY(path.endsWith(expected[2] + u'.' + expected[3]));
}

void TestPaths::separatorAtTheEnd_data()
{
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected"); // AddBackslash, StripBackslash
    AddForBothSeparators("folder", u"C:\\lyrics"_s, {u"C:\\lyrics\\"_s, u"C:\\lyrics"_s});
    AddForBothSeparators("folder with a separator", u"C:\\lyrics\\"_s,
                         {u"C:\\lyrics\\"_s, u"C:\\lyrics"_s});
    AddForBothSeparators("drive", u"C:\\"_s, {u"C:\\"_s, u"C:\\"_s});
    AddForBothSeparators("bare drive", u"C:"_s, {u"C:\\"_s, u"C:\\"_s});
    AddForBothSeparators("any two characters", u"ab"_s, {u"ab\\"_s, u"ab\\"_s});
    AddForBothSeparators("lone separator", u"\\"_s, {u"\\"_s, QString()});
    AddForBothSeparators("two separators", u"C:\\lyrics\\\\"_s,
                         {u"C:\\lyrics\\\\"_s, u"C:\\lyrics\\"_s});
    AddForBothSeparators("empty", QString(), {u"\\"_s, QString()});
}

void TestPaths::separatorAtTheEnd()
{
    QFETCH(QChar, sep);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);
    QCOMPARE(AddBackslash(path, sep), expected[0]);
    QCOMPARE(StripBackslash(path, sep), expected[1]);
}

void TestPaths::otherSlashIsNoSeparator()
{
    const QString slashed = u"C:/lyrics/song.lrc"_s;
    QCOMPARE(FolderPart(slashed, u'\\'), QString());
    QCOMPARE(FileNamePart(slashed, u'\\'), QString());
    QCOMPARE(BaseNamePart(slashed, u'\\'), u"C:/lyrics/song"_s);
    QCOMPARE(ExtensionPart(slashed, u'\\'), u"lrc"_s);
    QCOMPARE(AddBackslash(u"C:/"_s, u'\\'), u"C:/\\"_s);

    const QString backslashed = u"/home/k/a\\b.c\\song"_s;
    QCOMPARE(FileNamePart(backslashed, u'/'), u"a\\b.c\\song"_s);
    QCOMPARE(ExtensionPart(backslashed, u'/'), u"c\\song"_s);
}

void TestPaths::defaultIsPlatformSeparator()
{
#ifdef Q_OS_WIN
    QCOMPARE(FileNamePart(u"C:\\k\\song.lrc"_s), u"song.lrc"_s);
#else
    QCOMPARE(FileNamePart(u"/k/song.lrc"_s), u"song.lrc"_s);
    QCOMPARE(StripBackslash(u"/kk/"_s), u"/kk"_s);
#endif
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
