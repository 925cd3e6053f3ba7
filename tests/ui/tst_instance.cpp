// The single-instance lock, and the real program started while another instance holds it.
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
    // A lock that a killed instance left behind is taken over; one that cannot be made at all
    // stops nobody. A lock held by a live instance: secondStartEndsSilently.
    void staleOrImpossibleLock()
    {
        QTemporaryDir temp;
        const QString path = temp.filePath(u"kovrant.lock"_s);
        // A lock in this process's own form, but of a process that cannot exist.
        QLockFile model(temp.filePath(u"model.lock"_s));
        QVERIFY(model.lock());
        const QByteArray info = Read(model.fileName());
        QVERIFY(Write(path, "999999999" + info.mid(info.indexOf('\n'))));
        InstanceLock start(path);
        QVERIFY(!start.anotherInstanceRuns());
        QVERIFY(InstanceLock(path).anotherInstanceRuns());
        QVERIFY(!InstanceLock(temp.filePath(u"missing/kovrant.lock"_s)).anotherInstanceRuns());
    }

    // The real program, started while the lock is held, ends at once and saves nothing.
    void secondStartEndsSilently()
    {
        QTemporaryDir runtime;
        QTemporaryDir config;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        InstanceLock first;
        QVERIFY(!first.anotherInstanceRuns() && QFile::exists(runtime.filePath(u"kovrant.lock"_s)));
        QVERIFY(QDir(config.path()).mkpath(u"Kovrant"_s));
        const QString ini = config.filePath(u"Kovrant/Kovrant.ini"_s);
        QVERIFY(Write(ini, "[Init]\nLastMode=1\n"));

        QProcess second;
        second.start(QStringLiteral(KOVRANT_PROGRAM), {});
        QVERIFY(second.waitForFinished());
        QVERIFY(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
        QCOMPARE(Read(ini), QByteArray("[Init]\nLastMode=1\n"));
        QCOMPARE(QDir(config.filePath(u"Kovrant"_s)).entryList(QDir::Files), {u"Kovrant.ini"_s});
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
