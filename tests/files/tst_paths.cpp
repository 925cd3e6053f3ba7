#include "files/paths.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

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
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<QString>("path");
        // folder | file name | base name | extension | AddBackslash | StripBackslash
        QTest::addColumn<QString>("expected");
        AddForBoth("two dots, extension case kept", u"C:\\lyrics\\song.old.TTD"_s,
                   u"C:\\lyrics\\|song.old.TTD|song.old|TTD|C:\\lyrics\\song.old.TTD\\|"
                   u"C:\\lyrics\\song.old.TTD"_s);
        AddForBoth("dot only in the folder", u"C:\\my.dir\\song"_s,
                   u"C:\\my.dir\\|song|song||C:\\my.dir\\song\\|C:\\my.dir\\song"_s);
        AddForBoth("bare name, leading dot", u".song.txt"_s,
                   u"||.song|txt|.song.txt\\|.song.txt"_s);
        AddForBoth("folder path with a dot", u"C:\\my.dir\\"_s,
                   u"C:\\my.dir\\||C:\\my|dir\\|C:\\my.dir\\|C:\\my.dir"_s);
        AddForBoth("drive keeps its separator", u"C:\\"_s, u"C:\\||C:\\||C:\\|C:\\"_s);
        AddForBoth("only one separator is stripped", u"C:\\lyrics\\\\"_s,
                   u"C:\\lyrics\\\\||C:\\lyrics\\\\||C:\\lyrics\\\\|C:\\lyrics\\"_s);
        AddForBoth("empty", QString(), u"||||\\|"_s);
        QTest::newRow("the other separator is a name character")
            << QChar(u'\\') << u"C:/lyrics/song.lrc"_s
            << u"||C:/lyrics/song|lrc|C:/lyrics/song.lrc\\|C:/lyrics/song.lrc"_s;
    }

    void parts()
    {
        QFETCH(QChar, sep);
        QFETCH(QString, path);
        const QStringList results{FolderPart(path, sep),   FileNamePart(path, sep),
                                  BaseNamePart(path, sep), ExtensionPart(path, sep),
                                  AddBackslash(path, sep), StripBackslash(path, sep)};
        QTEST(results.join(u'|'), "expected");
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
