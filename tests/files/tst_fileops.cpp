#include "files/fileops.h"
#include "files/outputfile.h"
#include "files/paths.h"
#include "files/textfiles.h"

#include <QtTest>

#include <sys/stat.h>
#include <sys/xattr.h>

using namespace kovrant;
using namespace Qt::StringLiterals;

using Rename = bool (*)(const QString&, const QString&);

namespace {

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QFileInfoList Entries(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

// ACLs as the kernel stores them: a version (2), then entries of a tag, permissions and an id.
// group::--- user:nobody:rw- mask::rw- other::---, as mode 660
const QByteArray NamedUserAcl =
    QByteArray::fromHex("02000000 01000600ffffffff 02000600feff0000 04000000ffffffff "
                        "10000600ffffffff 20000000ffffffff");

QByteArray AclOf(const QByteArray& path)
{
    QByteArray acl(1000, '\0');
    const ssize_t size = ::getxattr(path.constData(), "system.posix_acl_access", acl.data(), 1000);
    return acl.left(std::max<ssize_t>(size, 0));
}

// Path rows are written with "\" and added once as they stand and once with every "\" as "/".
void AddForBoth(const char* name, QString path, QString expected)
{
    for (const QChar sep : {QChar(u'\\'), QChar(u'/')}) {
        QTest::addRow("%s [%c]", name, sep.toLatin1())
            << sep << path.replace(u'\\', sep) << expected.replace(u'\\', sep);
    }
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    qsizetype m_openFiles = 0;
    QString at(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    void put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(at(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    // Every entry as "name=link target, folder entries or content", so that a test sees any change.
    QStringList snapshot() const
    {
        QStringList entries;
        for (const QFileInfo& info : Entries(m_dir->path())) {
            entries << info.fileName() + u'=' +
                           (info.isSymLink() ? info.symLinkTarget()
                            : info.isDir()   ? QDir(info.filePath()).entryList().join(u',')
                                             : QString::fromLatin1(Bytes(info.filePath())));
        }
        entries.sort();
        return entries;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        put(u"song.lrc"_s, QByteArray(100, 'o'));
        for (const int size : {0, 60000, 60001})
            put(QString::number(size), QByteArray(size, 'a'));
        QVERIFY(QDir(m_dir->path()).mkpath(u"folder/inner"_s) &&
                QDir(m_dir->path()).mkpath(u"empty"_s));
        QVERIFY(QFile::link(at(u"song.lrc"_s), at(u"link"_s)));
        QVERIFY(QFile::link(at(u"gone"_s), at(u"dangling"_s)));
        QVERIFY(QFile::link(at(u"folder"_s), at(u"folder-link"_s)));
        m_openFiles = Entries(u"/proc/self/fd"_s).size();
    }

    // No call, whether it succeeds or fails, leaves a file open.
    void cleanup() { QCOMPARE(Entries(u"/proc/self/fd"_s).size(), m_openFiles); }

    void inputChecks_data()
    {
        QTest::addColumn<QString>("name");     // of a folder, or a link to one, only if "folder..."
        QTest::addColumn<ResultCode>("check"); // but Ok and FileTooLarge: FileExists is false
        QTest::addColumn<ResultCode>("load");
        const auto ok = ResultCode::Ok, missing = ResultCode::FileNotFound,
                   unread = ResultCode::ReadFailed;
        QTest::newRow("exactly the limit") << u"60000"_s << ok << ok;
        QTest::newRow("one byte over the limit") << u"60001"_s << ResultCode::FileTooLarge << ok;
        QTest::newRow("empty file passes the check") << u"0"_s << ok << ResultCode::FileEmpty;
        QTest::newRow("link to a file") << u"link"_s << ok << ok;
        QTest::newRow("folder is no file") << u"folder"_s << missing << unread;
        QTest::newRow("link to a folder") << u"folder-link"_s << missing << unread;
        QTest::newRow("dangling link") << u"dangling"_s << missing << unread;
        QTest::newRow("star is no wildcard") << u"*.lrc"_s << missing << unread;
        const auto tooLong = ResultCode::NameTooLong;
        QTest::newRow("a name longer than the file system takes")
            << QString(300, u'a') << tooLong << unread;
        QTest::newRow("a path to a file longer than the kernel takes")
            << u"./"_s.repeated(2100) + u"song.lrc"_s << tooLong << unread;
        for (const char* fixture : {"invalid-lead-at-end", "invalid-bad-trail"}) {
            QTest::addRow("not code page 932: %s", fixture)
                << QStringLiteral(KOVRANT_TEST_DATA "/files/%1.txt").arg(QLatin1StringView(fixture))
                << ok << ResultCode::InvalidEncoding;
        }
    }

    void inputChecks()
    {
        QFETCH(QString, name);
        QFETCH(ResultCode, check);
        QFETCH(ResultCode, load);
        QCOMPARE(FileExists(at(name)),
                 check == ResultCode::Ok || check == ResultCode::FileTooLarge);
        QCOMPARE(FolderExists(at(name)), name.startsWith(u"folder"_s));
        QCOMPARE(CheckInputFile(at(name)), check);
        TextFile file{u"before"_s};
        FileErrorDetails details;
        QCOMPARE(LoadInputText(at(name), Recognition::Automatic, file, details), load);
        QCOMPARE(file.text,
                 load == ResultCode::Ok ? QString::fromLatin1(Bytes(at(name))) : u"before"_s);
    }

    // A prepared output takes its own name only, leaves nothing beside it and no file open.
    void writesInPlace()
    {
        QStringList expected = snapshot();
        PreparedOutput output, nowhere;
        QVERIFY(!nowhere.prepare(at(u"missing/new.lrc"_s), "x", false));
        QVERIFY(output.prepare(at(u"song.lrc"_s), "new", false));
        QCOMPARE(output.commit(true), PreparedOutput::Commit::Done);
        expected.replaceInStrings(QRegularExpression(u"^song\\.lrc=.*"_s), u"song.lrc=new"_s);
        QCOMPARE(snapshot(), expected);
    }

    void keepsAccess_data()
    {
        QTest::addColumn<TemporaryFile>("temporary");
        QTest::addColumn<QByteArray>("acl");        // of the old file, which has mode 640 without
        QTest::addColumn<QByteArray>("defaultAcl"); // of the folder, set after the old file
        for (const auto& [name, temporary] :
             {std::pair{"unnamed", TemporaryFile::Unnamed}, {"named", TemporaryFile::Named}}) {
            QTest::addRow("%s: the access ACL is kept", name)
                << temporary << NamedUserAcl << QByteArray();
            QTest::addRow("%s: none is taken from the folder's default ACL", name)
                << temporary << QByteArray() << NamedUserAcl;
        }
    }

    // A replacing file has the old one's mode and ACL, so that nobody gains or loses access.
    void keepsAccess()
    {
        QFETCH(TemporaryFile, temporary);
        QFETCH(QByteArray, acl);
        QFETCH(QByteArray, defaultAcl);
        const QByteArray old = QFile::encodeName(at(u"song.lrc"_s));
        QCOMPARE(::chmod(old.constData(), 0640), 0);
        const auto set = [](const QByteArray& path, const char* which, const QByteArray& value) {
            return value.isEmpty() || ::setxattr(path.constData(), which, value.constData(),
                                                 std::size_t(value.size()), 0) == 0;
        };
        if (!set(old, "system.posix_acl_access", acl) ||
            !set(QFile::encodeName(m_dir->path()), "system.posix_acl_default", defaultAcl)) {
            QVERIFY2(errno == EOPNOTSUPP, strerror(errno));
            QSKIP("The file system of the temporary folder has no ACLs");
        }
        struct stat info {};
        QCOMPARE(::stat(old.constData(), &info), 0);
        const mode_t mode = info.st_mode;
        PreparedOutput output(temporary);
        QVERIFY(output.prepare(at(u"song.lrc"_s), "new", false));
        QCOMPARE(output.commit(true), PreparedOutput::Commit::Done);
        QCOMPARE(::stat(old.constData(), &info), 0);
        QCOMPARE(info.st_ino, output.identity().inode);
        QCOMPARE(info.st_mode, mode);
        QCOMPARE(AclOf(old), acl);
    }

    // Where the ACL cannot be given, the owning group gets what the ACL let it do, not the mask.
    void narrowsWithoutAcl_data()
    {
        QTest::addColumn<QByteArray>("acl");
        QTest::addColumn<unsigned>("mode");
        QTest::addColumn<unsigned>("narrowed");
        QTest::newRow("the group's own entry, not the mask") << NamedUserAcl << 0660u << 0600u;
        QTest::newRow("group::rw- as mask::r-- limits it")
            << QByteArray::fromHex("02000000 01000600ffffffff 04000600ffffffff 10000400ffffffff "
                                   "20000400ffffffff")
            << 0644u << 0644u;
        QTest::newRow("an ACL that could not be read: no group access")
            << QByteArray() << 02775u << 02705u;
    }

    void narrowsWithoutAcl()
    {
        QFETCH(QByteArray, acl);
        QFETCH(unsigned, mode);
        QTEST(detail::ModeWithoutAcl(mode, acl), "narrowed");
    }

    void absolutePaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("expected");
        const QString deep = u"sub/"_s.repeated(1022) + u"a.LRC"_s; // 4093 bytes
        QTest::newRow("relative") << u"a.LRC"_s << u"/k"_s << u"/k/a.LRC"_s;
        QTest::newRow("too long with the current folder") << deep << u"/k"_s << deep;
        QTest::newRow("just short enough") << deep << u"/"_s << u'/' + deep;
    }

    void absolutePaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, current);
        QTEST(AbsolutePathWherePossible(path, current), "expected");
    }

    // Every row runs through RenameNoReplace and through the fallback it uses on file systems
    // that cannot refuse a taken name themselves.
    void renameNeverReplaces_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("renamed");
        QTest::addColumn<Rename>("rename");
        const auto add = [](const char* name, const QString& from, const QString& to,
                            bool renamed) {
            QTest::addRow("%s", name) << from << to << renamed << Rename(&RenameNoReplace);
            QTest::addRow("%s, fallback", name)
                << from << to << renamed << Rename(&detail::RenameNoReplaceFallback);
        };
        add("file onto a file", u"song.lrc"_s, u"0"_s, false);
        add("file onto a dangling link", u"song.lrc"_s, u"dangling"_s, false);
        add("folder onto an empty folder", u"folder"_s, u"empty"_s, false);
        add("file to a free name", u"song.lrc"_s, u"new.lrc"_s, true);
        add("folder with content to a free name", u"folder"_s, u"renamed"_s, true);
    }

    void renameNeverReplaces()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, renamed);
        QFETCH(Rename, rename);
        QStringList expected = snapshot();
        QCOMPARE(rename(at(from), at(to)), renamed);
        if (renamed) {
            expected.replaceInStrings(QRegularExpression(u'^' + from + u'='), to + u'=');
            expected.sort();
        }
        QCOMPARE(snapshot(), expected);
    }

    void pathParts_data()
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

    void pathParts()
    {
        QFETCH(QChar, sep);
        QFETCH(QString, path);
        const QStringList results{FolderPart(path, sep),   FileNamePart(path, sep),
                                  BaseNamePart(path, sep), ExtensionPart(path, sep),
                                  AddBackslash(path, sep), StripBackslash(path, sep)};
        QTEST(results.join(u'|'), "expected");
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
