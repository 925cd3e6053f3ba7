// The About window driven tick by tick: nothing works before the icon has slid into place; then
// OK and the link do, and the icon can be dragged, never out of the window.
#include "ui/formabout.h"

#include <QDesktopServices>
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
    void slidesInThenComesAlive();
    void dragsTheIconWithinTheWindow_data();
    void dragsTheIconWithinTheWindow();
    void linkOpensAndCloses();
};

namespace {

QLabel* Icon(FormAbout& about)
{
    return about.findChild<QLabel*>(u"Image1"_s);
}

void Finish(FormAbout& about)
{
    for (int i = 0; i <= FormAbout::SlideSteps; ++i)
        about.tick();
}

} // namespace

void TestFormAbout::slidesInThenComesAlive()
{
    FormAbout about(nullptr, false);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(about.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QLabel* icon = Icon(about);
    auto* ok = about.findChild<QPushButton*>(u"ComClose"_s);
    auto* link = about.findChild<QLabel*>(u"Label6"_s);
    QVERIFY(!icon->pixmap().isNull());
    QCOMPARE(icon->x(), about.width()); // just outside, on the right
    about.tick();                       // the second of waiting ends
    QCOMPARE(icon->x(), about.width());
    int last = icon->x();
    for (int step = 1; step < FormAbout::SlideSteps; ++step) {
        about.tick();
        QVERIFY2(icon->x() <= last, "the icon never moves back");
        last = icon->x();
        const QPoint before = icon->pos();
        QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(icon->pos(), before); // presses are ignored until the end
        QVERIFY(!ok->isVisible());
        QVERIFY(!link->isEnabled());
    }
    about.tick();
    QVERIFY(qAbs(icon->x() - 300) <= 1);
    QVERIFY(ok->isVisible());
    QVERIFY(link->isEnabled());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    ok->click();
    QVERIFY(!about.isVisible());
    QVERIFY(!about.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestFormAbout::dragsTheIconWithinTheWindow_data()
{
    QTest::addColumn<QPoint>("pointer"); // relative to the window
    QTest::addColumn<QPoint>("place");   // where the icon's corner ends, or (-1,-1): its centre
    QTest::newRow("centred on the pointer") << QPoint(100, 100) << QPoint(-1, -1);
    QTest::newRow("past the left edge") << QPoint(-50, 100) << QPoint(0, 84);
    QTest::newRow("past the right edge") << QPoint(900, 100) << QPoint(360 - 32, 84);
    QTest::newRow("past the top") << QPoint(100, -50) << QPoint(84, 0);
    QTest::newRow("past the bottom") << QPoint(100, 900) << QPoint(84, 216 - 32);
}

void TestFormAbout::dragsTheIconWithinTheWindow()
{
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, place);
    FormAbout about(nullptr, false);
    about.show();
    Finish(about);
    QLabel* icon = Icon(about);
    QTest::mousePress(icon, Qt::LeftButton, {}, QPoint(16, 16));
    QMouseEvent move(QEvent::MouseMove, icon->mapFrom(&about, pointer),
                     icon->mapToGlobal(icon->mapFrom(&about, pointer)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(icon, &move);
    QCOMPARE(icon->pos(), place == QPoint(-1, -1) ? pointer - QPoint(16, 16) : place);
    QTest::mouseRelease(icon, Qt::LeftButton);
}

void TestFormAbout::linkOpensAndCloses()
{
    QDesktopServices::setUrlHandler(u"https"_s, this, "open");
    FormAbout about(nullptr, false);
    about.show();
    Finish(about);
    QTest::mouseClick(about.findChild<QLabel*>(u"Label6"_s), Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl>{QUrl(u"https://kovrant.github.io/"_s)});
    QVERIFY(!about.isVisible());
    QDesktopServices::unsetUrlHandler(u"https"_s);
}

QTEST_MAIN(TestFormAbout)
#include "tst_formabout.moc"
