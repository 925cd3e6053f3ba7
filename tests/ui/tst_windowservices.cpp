#include "ui/windowservices.h"

#include <QDesktopServices>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestWindowServices : public QObject {
    Q_OBJECT
    QList<QUrl> m_opened;

public Q_SLOTS:
    void open(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
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
                QVERIFY(window.geometry() == geometry && window.isVisible());
                QCOMPARE(window.winId(), id);
            }
        }
    }

    // Web addresses are told apart by "http" alone, case-sensitively; anything else must be an
    // existing file.
    void opensDocuments()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()) && QFile(u"HTTP notes"_s).open(QIODevice::WriteOnly));
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::setUrlHandler(scheme, this, "open");
        for (const QString& target : {u"http://example.org/k"_s, u"HTTP://example.org/"_s,
                                      u"HTTP notes"_s, u"."_s, QString()})
            OpenDocument(nullptr, target);
        QCOMPARE(m_opened, (QList<QUrl>{QUrl(u"http://example.org/k"_s),
                                        QUrl::fromLocalFile(dir.filePath(u"HTTP notes"_s))}));
        for (const QString& scheme : {u"file"_s, u"http"_s})
            QDesktopServices::unsetUrlHandler(scheme);
    }
};

QTEST_MAIN(TestWindowServices)
#include "tst_windowservices.moc"
