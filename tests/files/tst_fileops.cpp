#include "files/fileops.h"

#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

using Rename = bool (*)(const QString&, const QString&);

class TestFileOps : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString at(const QString& name) const { return m_dir->filePath(name); }

    // Every entry of the folder as "name=kind and content", so that a test sees any change.
    QStringList snapshot() const
    {
        QStringList entries;
        const auto all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        for (const QFileInfo& info : QDir(m_dir->path()).entryInfoList(all)) {
            QFile file(info.filePath());
            entries << info.fileName() + u'=' +
                           (info.isSymLink() ? u"link to "_s + info.symLinkTarget()
                            : info.isDir()   ? QDir(info.filePath()).entryList(all).join(u',')
                            : file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                                             : u"?"_s);
        }
        entries.sort();
        return entries;
    }

    // Every row runs through RenameNoReplace and through the fallback it uses on file systems
    // that cannot refuse a taken name themselves.
    static void addForBoth(const char* name, const QString& from, const QString& to, bool renamed)
    {
        QTest::addRow("%s", name) << from << to << renamed << Rename(&RenameNoReplace);
        QTest::addRow("%s (fallback)", name)
            << from << to << renamed << Rename(&detail::RenameNoReplaceFallback);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s) &&
                QDir(m_dir->path()).mkdir(u"empty-folder"_s));
        for (const QString& name : {u"a.txt"_s, u"b.TXT"_s, u"folder/inner.txt"_s}) {
            QFile file(at(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toLatin1()) > 0);
        }
        QVERIFY(QFile::link(at(u"a.txt"_s), at(u"link"_s)));
        QVERIFY(QFile::link(at(u"gone"_s), at(u"dangling"_s)));
    }

    void renameNeverReplaces_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("renamed");
        QTest::addColumn<Rename>("renameOp");
        addForBoth("file onto a file", u"a.txt"_s, u"b.TXT"_s, false);
        addForBoth("file onto an empty folder", u"a.txt"_s, u"empty-folder"_s, false);
        addForBoth("file onto a dangling link", u"a.txt"_s, u"dangling"_s, false);
        addForBoth("folder onto an empty folder", u"folder"_s, u"empty-folder"_s, false);
        addForBoth("folder onto a file", u"folder"_s, u"a.txt"_s, false);
        addForBoth("file onto itself", u"a.txt"_s, u"a.txt"_s, false);
        addForBoth("missing source", u"missing"_s, u"new.txt"_s, false);
        addForBoth("folder into itself", u"folder"_s, u"folder/inside"_s, false);
        addForBoth("file to a free name", u"a.txt"_s, u"a.lrc"_s, true);
        addForBoth("folder with content to a free name", u"folder"_s, u"renamed"_s, true);
        addForBoth("link stays a link", u"link"_s, u"link2"_s, true);
    }

    void renameNeverReplaces()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, renamed);
        QFETCH(Rename, renameOp);
        QStringList expected = snapshot();
        QCOMPARE(renameOp(at(from), at(to)), renamed);
        for (QString& entry : expected) {
            if (renamed && entry.startsWith(from + u'='))
                entry.replace(0, from.size(), to);
        }
        expected.sort();
        QCOMPARE(snapshot(), expected);
    }

    void folderExists()
    {
        QVERIFY(QFile::link(at(u"folder"_s), at(u"folder-link"_s)));
        for (const QString& name : {u"folder"_s, u"folder/"_s, u"folder-link"_s})
            QVERIFY2(FolderExists(at(name)), qPrintable(name));
        for (const QString& name : {u"a.txt"_s, u"missing"_s})
            QVERIFY2(!FolderExists(at(name)), qPrintable(name));
        QVERIFY(!FolderExists(QString()));
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
