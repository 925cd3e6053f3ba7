// The About window driven tick by tick: nothing works before the icon has slid into place; then
// OK and the link do, the link also from the keyboard, and the icon can be dragged, never out of
// the window.
#include "ui/formabout.h"
#include "version.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestFormAbout : public QObject {
    Q_OBJECT
    QList<QUrl> m_opened;

public Q_SLOTS:
    void open(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
    void slidesInThenTheLinkOpensAndCloses()
    {
        QDesktopServices::setUrlHandler(u"https"_s, this, "open");
        FormAbout about(nullptr, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(about.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        auto* icon = about.findChild<QLabel*>(u"Image1"_s);
        auto* ok = about.findChild<QPushButton*>(u"ComClose"_s);
        auto* link = about.findChild<QLabel*>(u"Label6"_s);
        QVERIFY(!icon->pixmap().isNull());
        QCOMPARE(about.findChild<QLabel*>(u"Label3"_s)->text(),
                 u"Version "_s + QStringLiteral(KOVRANT_VERSION));
        QCOMPARE(icon->x(), about.width()); // just outside, on the right
        about.tick();                       // the second of waiting ends
        QCOMPARE(icon->x(), about.width());
        int last = icon->x();
        for (int step = 1; step < FormAbout::SlideSteps; ++step) {
            about.tick();
            QVERIFY2(icon->x() <= last, "the icon never moves back");
            last = icon->x();
            QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseClick(link, Qt::LeftButton);
            QCOMPARE(icon->x(), last); // presses are ignored until the end
            QVERIFY(!ok->isVisible() && !link->isEnabled() && m_opened.isEmpty());
        }
        about.tick();
        QVERIFY(qAbs(icon->x() - 300) <= 1);
        QVERIFY(ok->isVisible() && link->isEnabled());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(link, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(u"https://kovrant.github.io/"_s)});
        QVERIFY(!about.isVisible() &&
                !about.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // Tab reaches the link once the slide has ended, and Enter follows it. Assistive technology
    // meets the title once, not its shadow.
    void linkFromTheKeyboard()
    {
        QDesktopServices::setUrlHandler(u"https"_s, this, "open");
        FormAbout about(nullptr, false);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&about);
        QCOMPARE(window->childCount(), 9); // the title once, four labels, two lines, icon, OK
        auto* link = about.findChild<QLabel*>(u"Label6"_s);
        for (int i = 0; i <= FormAbout::SlideSteps; ++i)
            about.tick();
        QTest::keyClick(&about, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), link);
        QTest::keyClick(link, Qt::Key_Return);
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(u"https://kovrant.github.io/"_s)});
        QVERIFY(!about.isVisible());
    }

    // After the second of waiting, the slide takes about half a second: it is seen as a slide.
    void slidesInHalfASecond()
    {
        FormAbout about;
        QElapsedTimer clock;
        clock.start();
        about.show();
        QTRY_VERIFY_WITH_TIMEOUT(!about.isAnimating(), 10000);
        QVERIFY2(clock.elapsed() >= 1000 + 400, qPrintable(QString::number(clock.elapsed())));
    }

    void dragsTheIconWithinTheWindow_data()
    {
        QTest::addColumn<QPoint>("pointer"); // relative to the window
        QTest::addColumn<QPoint>("place");   // where the icon's corner ends
        QTest::newRow("centred on the pointer") << QPoint(100, 100) << QPoint(84, 84);
        QTest::newRow("past the left edge") << QPoint(-50, 100) << QPoint(0, 84);
        QTest::newRow("past the right edge") << QPoint(900, 100) << QPoint(360 - 32, 84);
        QTest::newRow("past the top") << QPoint(100, -50) << QPoint(84, 0);
        QTest::newRow("past the bottom") << QPoint(100, 900) << QPoint(84, 216 - 32);
    }
    void dragsTheIconWithinTheWindow()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, place);
        FormAbout about(nullptr, false);
        about.show();
        for (int i = 0; i <= FormAbout::SlideSteps; ++i)
            about.tick();
        auto* icon = about.findChild<QLabel*>(u"Image1"_s);
        QTest::mousePress(icon, Qt::LeftButton, {}, QPoint(16, 16));
        const QPoint at = icon->mapFrom(&about, pointer);
        QMouseEvent move(QEvent::MouseMove, at, icon->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(icon, &move);
        QCOMPARE(icon->pos(), place);
        QTest::mouseRelease(icon, Qt::LeftButton);
        about.findChild<QPushButton*>(u"ComClose"_s)->click();
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestFormAbout)
#include "tst_formabout.moc"
