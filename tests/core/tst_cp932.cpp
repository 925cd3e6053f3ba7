// Placeholder until the codec's tests land.
#include <QtTest>
class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};
QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
