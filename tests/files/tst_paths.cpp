#include "files/paths.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

void AddColumns()
{
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // the results, joined by "|"
}

// Rows are written with "\" and added once as they stand and once with every "\" as "/".
void AddForBoth(const char* name, QString path, QString expected)
{
    for (const QChar sep : {QChar(u'\\'), QChar(u'/')}) {
        QTest::addRow("%s [%c]", name, sep.toLatin1())
            << sep << path.replace(u'\\', sep) << expected.replace(u'\\', sep);
    }
}

} // namespace

class TestPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parts_data()
    {
        AddColumns(); // folder|file name|base name|extension
        AddForBoth("plain file", u"C:\\lyrics\\song.lrc"_s, u"C:\\lyrics\\|song.lrc|song|lrc"_s);
        AddForBoth("two dots, extension case kept", u"C:\\lyrics\\song.old.TTD"_s,
                   u"C:\\lyrics\\|song.old.TTD|song.old|TTD"_s);
        AddForBoth("dot only in the folder", u"C:\\my.dir\\song"_s, u"C:\\my.dir\\|song|song|"_s);
        AddForBoth("bare name has no file name part", u"song.txt"_s, u"||song|txt"_s);
        AddForBoth("folder path", u"C:\\lyrics\\"_s, u"C:\\lyrics\\||C:\\lyrics\\|"_s);
        AddForBoth("folder path with a dot", u"C:\\my.dir\\"_s, u"C:\\my.dir\\||C:\\my|dir\\"_s);
        AddForBoth("leading dot", u"C:\\lyrics\\.txt"_s, u"C:\\lyrics\\|.txt||txt"_s);
        AddForBoth("trailing dot", u"C:\\lyrics\\song."_s, u"C:\\lyrics\\|song.|song|"_s);
        AddForBoth("empty path", QString(), u"|||"_s);
        QTest::newRow("slash is no separator for backslash")
            << QChar(u'\\') << u"C:/lyrics/song.lrc"_s << u"||C:/lyrics/song|lrc"_s;
        QTest::newRow("backslash is no separator for slash")
            << QChar(u'/') << u"/k/a\\b.c\\song"_s << u"/k/|a\\b.c\\song|a\\b|c\\song"_s;
    }

    void parts()
    {
        QFETCH(QChar, sep);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const QStringList results{FolderPart(path, sep), FileNamePart(path, sep),
                                  BaseNamePart(path, sep), ExtensionPart(path, sep)};
        QCOMPARE(results.join(u'|'), expected);
    }

    void separatorAtTheEnd_data()
    {
        AddColumns(); // AddBackslash|StripBackslash
        AddForBoth("folder", u"C:\\lyrics"_s, u"C:\\lyrics\\|C:\\lyrics"_s);
        AddForBoth("folder with a separator", u"C:\\lyrics\\"_s, u"C:\\lyrics\\|C:\\lyrics"_s);
        AddForBoth("drive", u"C:\\"_s, u"C:\\|C:\\"_s);
        AddForBoth("bare drive", u"C:"_s, u"C:\\|C:\\"_s);
        AddForBoth("lone separator", u"\\"_s, u"\\|"_s);
        AddForBoth("two separators", u"C:\\lyrics\\\\"_s, u"C:\\lyrics\\\\|C:\\lyrics\\"_s);
        AddForBoth("empty", QString(), u"\\|"_s);
        QTest::newRow("slash is no separator for backslash")
            << QChar(u'\\') << u"C:/"_s << u"C:/\\|C:/"_s;
    }

    void separatorAtTheEnd()
    {
        QFETCH(QChar, sep);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(AddBackslash(path, sep) + u'|' + StripBackslash(path, sep), expected);
    }

    void defaultIsPlatformSeparator()
    {
        const QString path = QDir::toNativeSeparators(u"/lyrics/song.lrc"_s);
        QCOMPARE(FileNamePart(path), u"song.lrc"_s);
        QCOMPARE(StripBackslash(FolderPart(path)), QDir::toNativeSeparators(u"/lyrics"_s));
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
