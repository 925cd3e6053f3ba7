#include "ui/instancelock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("-");
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lock_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("another"); // whether the start sees another instance
        QTest::addColumn<bool>("holds");   // whether it then holds the lock itself
        QTest::newRow("nobody holds the lock") << u""_s << false << true;
        QTest::newRow("a running instance holds it") << u"held"_s << true << false;
        QTest::newRow("a killed instance left it behind") << u"stale"_s << false << true;
        QTest::newRow("its folder is missing") << u"no folder"_s << false << false;
        QTest::newRow("its folder is a file") << u"file"_s << false << false;
    }
    void lock()
    {
        QFETCH(QString, before);
        QFETCH(bool, another);
        QFETCH(bool, holds);
        QTemporaryDir temp;
        QString path = temp.filePath(u"kovrant.lock"_s);
        std::optional<InstanceLock> running;
        if (before == u"held") {
            running.emplace(path);
            QVERIFY(!running->anotherInstanceRuns());
        } else if (before == u"stale") {
            // A lock in this process's own form, but of a process that cannot exist.
            QLockFile model(temp.filePath(u"model.lock"_s));
            QVERIFY(model.lock());
            const QByteArray info = Read(model.fileName());
            QVERIFY(Write(path, "999999999" + info.mid(info.indexOf('\n'))));
        } else if (before == u"no folder") {
            path = temp.filePath(u"missing/kovrant.lock"_s);
        } else if (before == u"file") {
            QVERIFY(Write(temp.filePath(u"file"_s), "x"));
            path = temp.filePath(u"file/kovrant.lock"_s);
        }
        InstanceLock start(path);
        QCOMPARE(start.anotherInstanceRuns(), another);
        QCOMPARE(InstanceLock(path).anotherInstanceRuns(), another || holds);
    }

    // The real program, started while the lock is held, ends at once and saves nothing.
    void secondStartEndsSilently()
    {
        QTemporaryDir runtime;
        QTemporaryDir config;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        InstanceLock first;
        QVERIFY(!first.anotherInstanceRuns());
        QVERIFY(QFile::exists(runtime.filePath(u"kovrant.lock"_s)));
        QVERIFY(QDir(config.path()).mkpath(u"Kovrant"_s));
        const QString ini = config.filePath(u"Kovrant/Kovrant.ini"_s);
        QVERIFY(Write(ini, "[Init]\nLastMode=1\n"));

        QProcess second;
        second.start(QStringLiteral(KOVRANT_PROGRAM), {});
        QVERIFY(second.waitForFinished());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(Read(ini), QByteArray("[Init]\nLastMode=1\n"));
        QCOMPARE(QDir(config.filePath(u"Kovrant"_s)).entryList(QDir::Files), {u"Kovrant.ini"_s});
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
