#include "files/shellhelpers.h"

#include <QDesktopServices>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestShellHelpers : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QList<QUrl> m_opened;

public Q_SLOTS:
    void open(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QFile(u"help.html"_s).open(QIODevice::WriteOnly));
        QVERIFY(QFile(u"HTTP notes.txt"_s).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkdir(u"folder"_s));
        for (const QString& scheme : {u"file"_s, u"http"_s, u"https"_s})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }

    void topmost_data()
    {
        QTest::addColumn<bool>("startOnTop");
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown window enters the band") << false << true;
        QTest::newRow("shown window leaves the band") << true << true;
        QTest::newRow("hidden window stays hidden") << false << false;
    }

    void topmost()
    {
        QFETCH(bool, startOnTop);
        QFETCH(bool, shown);
        QWindow window;
        window.setFlag(Qt::WindowStaysOnTopHint, startOnTop);
        window.setGeometry(120, 80, 300, 200);
        if (shown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        const QRect geometry = window.geometry();
        const WId id = window.winId();
        for (int round = 0; round < 2; ++round) { // the second round finds the wanted state
            startOnTop ? ClearTopmost(&window) : SetTopmost(&window);
            QCOMPARE(window.flags().testFlag(Qt::WindowStaysOnTopHint), !startOnTop);
            QCOMPARE(window.geometry(), geometry);
            QCOMPARE(window.isVisible(), shown);
            QCOMPARE(window.winId(), id);
        }
        SetTopmost(nullptr);
        ClearTopmost(nullptr);
    }

    void documentUrl_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QUrl>("url"); // empty: refused, and nothing is opened
        QTest::newRow("http address without a file check")
            << u"http://example.org/kovrant"_s << QUrl(u"http://example.org/kovrant"_s);
        QTest::newRow("upper-case HTTP is a missing file") << u"HTTP://example.org/"_s << QUrl();
        QTest::newRow("upper-case HTTP that names a file")
            << u"HTTP notes.txt"_s << QUrl::fromLocalFile(m_dir.filePath(u"HTTP notes.txt"_s));
        QTest::newRow("relative file")
            << u"help.html"_s << QUrl::fromLocalFile(m_dir.filePath(u"help.html"_s));
        QTest::newRow("folder") << u"folder"_s << QUrl();
        QTest::newRow("empty") << QString() << QUrl();
    }

    void documentUrl()
    {
        QFETCH(QString, target);
        QFETCH(QUrl, url);
        QCOMPARE(DocumentUrl(target), url.isEmpty() ? std::nullopt : std::optional(url));
        m_opened.clear();
        OpenDocument(nullptr, target);
        QCOMPARE(m_opened, url.isEmpty() ? QList<QUrl>() : QList<QUrl>{url});
    }

    void cleanupTestCase()
    {
        for (const QString& scheme : {u"file"_s, u"http"_s, u"https"_s})
            QDesktopServices::unsetUrlHandler(scheme);
    }
};

QTEST_MAIN(TestShellHelpers)
#include "tst_shellhelpers.moc"
