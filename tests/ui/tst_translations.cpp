// Japanese is the program's own language; every text it has must also have its English form,
// and a user whose language is English must get it.
#include "core/resultcode.h"
#include "i18n/translations.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace kovrant;
using namespace Qt::StringLiterals;

namespace {

// The source texts of a .ts file by context, each with whether its translation is finished.
QMap<QString, bool> Messages(const QString& path)
{
    QMap<QString, bool> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.name() == u"translation")
            messages[context + u'|' + source] =
                xml.attributes().value(u"type"_s).isEmpty() && !xml.readElementText().isEmpty();
    }
    return messages;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextHasItsEnglish()
    {
        QTemporaryDir dir;
        const QString extracted = dir.filePath(u"now.ts"_s);
        QProcess lupdate;
        lupdate.start(QStringLiteral(KOVRANT_LUPDATE),
                      {u"-silent"_s, u"-locations"_s, u"none"_s, u"-source-language"_s, u"ja"_s,
                       QStringLiteral(KOVRANT_SOURCE_DIR "/src"), u"-ts"_s, extracted});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        const QMap<QString, bool> committed =
            Messages(QStringLiteral(KOVRANT_SOURCE_DIR "/translations/kovrant_en.ts"));
        const QStringList texts = Messages(extracted).keys();
        QVERIFY(!texts.isEmpty());
        for (const QString& text : texts)
            QVERIFY2(committed.value(text), qPrintable(u"no English for "_s + text));
    }

    void englishOnlyForEnglish()
    {
        QVERIFY(UsesEnglish(QLocale(u"en_GB"_s)));
        QVERIFY(!UsesEnglish(QLocale(u"de_DE"_s)));
        InstallTranslations(QLocale(u"de_DE"_s));
        QCOMPARE(ErrorMessage(ResultCode::CrcMismatch), u"CRCが一致しませんでした"_s);
        InstallTranslations(QLocale(u"en_US"_s));
        QCOMPARE(ErrorMessage(ResultCode::CrcMismatch), u"CRC did not match"_s);
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
