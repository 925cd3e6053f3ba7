#include "ui/windowservices.h"

#include <QDesktopServices>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestWindowServices : public QObject {
    Q_OBJECT
    QList<QUrl> m_opened;

public Q_SLOTS:
    void open(const QUrl& url) { m_opened << url; }

private Q_SLOTS:
    // Web addresses are told apart by "http" alone, case-sensitively; anything else must be an
    // existing file. (The topmost band is driven through the windows in tst_formmain.)
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
