// Japanese is the program's own language; every text it has must also have its English form,
// and a user whose language is English must get it.
#include "core/resultcode.h"
#include "i18n/translations.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // lupdate merges the texts of the sources into a copy of the committed file, dropping texts
    // the sources no longer have: a text that has no English there comes out unfinished.
    void everyTextHasItsEnglish()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath(u"kovrant_en.ts"_s);
        QVERIFY(QFile::copy(QStringLiteral(KOVRANT_SOURCE_DIR "/translations/kovrant_en.ts"), ts));
        QProcess lupdate;
        lupdate.start(QStringLiteral(KOVRANT_LUPDATE),
                      {u"-silent"_s, u"-no-obsolete"_s, u"-locations"_s, u"none"_s,
                       u"-source-language"_s, u"ja"_s, QStringLiteral(KOVRANT_SOURCE_DIR "/src"),
                       u"-ts"_s, ts});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString merged = QString::fromUtf8(file.readAll());
        QVERIFY(merged.contains(u"<source>"_s));
        for (const QString& missing :
             {u"type=\"unfinished\""_s, u"<translation></translation>"_s}) {
            const qsizetype at = merged.indexOf(missing);
            QVERIFY2(at < 0, qPrintable(merged.mid(merged.lastIndexOf(u"<source>"_s, at), 160)));
        }
    }

    // The Japanese text itself is pinned by tst_messagetexts.
    void englishOnlyForEnglish()
    {
        const QString japanese = ErrorMessage(ResultCode::CrcMismatch);
        InstallTranslations(QLocale(u"de_DE"_s));
        QCOMPARE(ErrorMessage(ResultCode::CrcMismatch), japanese);
        InstallTranslations(QLocale(u"en_GB"_s));
        QCOMPARE(ErrorMessage(ResultCode::CrcMismatch), u"CRC did not match"_s);
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
