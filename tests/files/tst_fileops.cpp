#include "files/fileops.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

using Rename = bool (*)(const QString&, const QString&);

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a test can see of an entry: its kind, link target and content.
QString Describe(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return u"link to "_s + info.symLinkTarget();
    if (info.isDir())
        return u"folder of "_s + QDir(path).entryList(QDir::NoDotAndDotDot).join(u',');
    if (info.exists())
        return u"file "_s + QString::fromLatin1(Bytes(path));
    return u"nothing"_s;
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString at(const QString& name) const { return m_dir->filePath(name); }
    void addForBoth(const char* name, const QString& from, const QString& to);

private Q_SLOTS:
    void init();
    void renameOntoATakenNameFails_data();
    void renameOntoATakenNameFails();
    void renameToAFreeName_data();
    void renameToAFreeName();
    void folderExists();
};

void TestFileOps::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir dir(m_dir->path());
    for (const char* name : {"a.txt", "b.TXT", "folder/inner.txt"}) {
        QVERIFY(dir.mkpath(QFileInfo(at(QString::fromLatin1(name))).path()));
        QFile file(at(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
    QVERIFY(dir.mkdir(u"empty-folder"_s));
    QVERIFY(QFile::link(at(u"a.txt"_s), at(u"link"_s)));
    QVERIFY(QFile::link(at(u"gone"_s), at(u"dangling"_s)));
}

// Every row runs through RenameNoReplace and through the fallback it uses on file systems
// that cannot refuse a taken name themselves.
void TestFileOps::addForBoth(const char* name, const QString& from, const QString& to)
{
    QTest::addRow("%s", name) << from << to << Rename(&RenameNoReplace);
    QTest::addRow("%s (fallback)", name) << from << to << Rename(&detail::RenameNoReplaceFallback);
}

void TestFileOps::renameOntoATakenNameFails_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<Rename>("rename");
    addForBoth("file onto a file", u"a.txt"_s, u"b.TXT"_s);
    addForBoth("file onto an empty folder", u"a.txt"_s, u"empty-folder"_s);
    addForBoth("file onto a link", u"b.TXT"_s, u"link"_s);
    addForBoth("file onto a dangling link", u"a.txt"_s, u"dangling"_s);
    addForBoth("folder onto an empty folder", u"folder"_s, u"empty-folder"_s);
    addForBoth("folder onto a file", u"folder"_s, u"a.txt"_s);
    addForBoth("file onto itself", u"a.txt"_s, u"a.txt"_s);
    addForBoth("missing source", u"missing"_s, u"new.txt"_s);
}

void TestFileOps::renameOntoATakenNameFails()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(Rename, rename);
    const QString fromBefore = Describe(at(from));
    const QString toBefore = Describe(at(to));
    const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System);
    QVERIFY(!rename(at(from), at(to)));
    QCOMPARE(Describe(at(from)), fromBefore);
    QCOMPARE(Describe(at(to)), toBefore);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System), entries);
}

void TestFileOps::renameToAFreeName_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<Rename>("rename");
    addForBoth("file", u"a.txt"_s, u"a.lrc"_s);
    addForBoth("folder with content", u"folder"_s, u"renamed"_s);
    addForBoth("link stays a link", u"link"_s, u"link2"_s);
}

void TestFileOps::renameToAFreeName()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(Rename, rename);
    const QString before = Describe(at(from));
    QVERIFY(rename(at(from), at(to)));
    QCOMPARE(Describe(at(from)), u"nothing"_s);
    QCOMPARE(Describe(at(to)), before);
}

void TestFileOps::folderExists()
{
    QVERIFY(FolderExists(at(u"folder"_s)));
    QVERIFY(FolderExists(at(u"folder/"_s)));
    QVERIFY(!FolderExists(at(u"a.txt"_s)));
    QVERIFY(!FolderExists(at(u"missing"_s)));
    QVERIFY(!FolderExists(QString()));
    QVERIFY(QFile::link(at(u"folder"_s), at(u"folder-link"_s)));
    QVERIFY(FolderExists(at(u"folder-link"_s)));
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
