#include "files/shellhelpers.h"

#include <QDesktopServices>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class TestShellHelpers : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase();
    void topmost_data();
    void topmost();
    void documentUrl_data();
    void documentUrl();
    void openDocumentHandsOnlyAcceptedTargets();
};

void TestShellHelpers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    for (const QString& name : {u"help.html"_s, u"HTTP notes.txt"_s}) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir().mkdir(u"folder"_s));
}

void TestShellHelpers::topmost_data()
{
    QTest::addColumn<bool>("startOnTop");
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown window enters the band") << false << true;
    QTest::newRow("shown window leaves the band") << true << true;
    QTest::newRow("hidden window stays hidden") << false << false;
}

void TestShellHelpers::topmost()
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
        if (startOnTop)
            ClearTopmost(&window);
        else
            SetTopmost(&window);
        QCOMPARE(window.flags().testFlag(Qt::WindowStaysOnTopHint), !startOnTop);
        QCOMPARE(window.geometry(), geometry);
        QCOMPARE(window.isVisible(), shown);
        QCOMPARE(window.winId(), id);
    }
    SetTopmost(nullptr);
    ClearTopmost(nullptr);
}

void TestShellHelpers::documentUrl_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url"); // empty: refused
    QTest::newRow("http address without a file check")
        << u"http://example.org/kovrant"_s << QUrl(u"http://example.org/kovrant"_s);
    QTest::newRow("https address") << u"https://example.org/"_s << QUrl(u"https://example.org/"_s);
    QTest::newRow("upper-case HTTP is a missing file") << u"HTTP://example.org/"_s << QUrl();
    QTest::newRow("upper-case HTTP that names a file")
        << u"HTTP notes.txt"_s << QUrl::fromLocalFile(m_dir.filePath(u"HTTP notes.txt"_s));
    QTest::newRow("existing file")
        << m_dir.filePath(u"help.html"_s) << QUrl::fromLocalFile(m_dir.filePath(u"help.html"_s));
    QTest::newRow("relative file")
        << u"help.html"_s << QUrl::fromLocalFile(m_dir.filePath(u"help.html"_s));
    QTest::newRow("folder") << m_dir.filePath(u"folder"_s) << QUrl();
    QTest::newRow("missing file") << m_dir.filePath(u"missing.html"_s) << QUrl();
    QTest::newRow("empty") << QString() << QUrl();
}

void TestShellHelpers::documentUrl()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    const std::optional<QUrl> result = DocumentUrl(target);
    QCOMPARE(result.has_value(), !url.isEmpty());
    if (result)
        QCOMPARE(*result, url);
}

void TestShellHelpers::openDocumentHandsOnlyAcceptedTargets()
{
    UrlRecorder recorder;
    for (const QString& scheme : {u"file"_s, u"http"_s, u"https"_s})
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    QWindow window;
    OpenDocument(&window, u"help.html"_s);
    OpenDocument(&window, u"missing.html"_s);
    OpenDocument(&window, u"folder"_s);
    OpenDocument(nullptr, u"https://example.org/"_s);
    for (const QString& scheme : {u"file"_s, u"http"_s, u"https"_s})
        QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(recorder.opened, (QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(u"help.html"_s)),
                                           QUrl(u"https://example.org/"_s)}));
}

QTEST_MAIN(TestShellHelpers)
#include "tst_shellhelpers.moc"
