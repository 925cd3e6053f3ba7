#include "ui/windowservices.h"

#include <QDesktopServices>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestWindowServices : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QUrl> m_opened;

public Q_SLOTS:
    void open(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QFile(u"HTTP notes.txt"_s).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkdir(u"folder"_s));
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }

    // The band changes in place: same geometry, visibility and native window, and a second
    // call finds the wanted state already.
    void topmostChangesOnlyTheBand()
    {
        for (const bool startOnTop : {false, true}) {
            QWindow window;
            window.setFlag(Qt::WindowStaysOnTopHint, startOnTop);
            window.setGeometry(120, 80, 300, 200);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const QRect geometry = window.geometry();
            const WId id = window.winId();
            for (int round = 0; round < 2; ++round) {
                startOnTop ? ClearTopmost(&window) : SetTopmost(&window);
                QCOMPARE(window.flags().testFlag(Qt::WindowStaysOnTopHint), !startOnTop);
                QCOMPARE(window.geometry(), geometry);
                QVERIFY(window.isVisible());
                QCOMPARE(window.winId(), id);
            }
        }
    }

    void opensDocuments_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QUrl>("url"); // empty: nothing is opened
        QTest::newRow("http address without a file check")
            << u"http://example.org/k"_s << QUrl(u"http://example.org/k"_s);
        QTest::newRow("upper-case HTTP is a missing file") << u"HTTP://example.org/"_s << QUrl();
        QTest::newRow("upper-case HTTP that names a file, relative")
            << u"HTTP notes.txt"_s << QUrl::fromLocalFile(m_dir.filePath(u"HTTP notes.txt"_s));
        QTest::newRow("folder") << u"folder"_s << QUrl();
        QTest::newRow("empty") << QString() << QUrl();
    }

    void opensDocuments()
    {
        QFETCH(QString, target);
        QFETCH(QUrl, url);
        m_opened.clear();
        OpenDocument(nullptr, target);
        QCOMPARE(m_opened, url.isEmpty() ? QList<QUrl>() : QList<QUrl>{url});
    }

    void cleanupTestCase()
    {
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::unsetUrlHandler(scheme);
    }
};

QTEST_MAIN(TestWindowServices)
#include "tst_windowservices.moc"
