#include "i18n/translations.h"

#include <QCoreApplication>
#include <QTranslator>

// The translations are resources of a static library, which the linker keeps only when asked.
static void InitTranslationResources()
{
    Q_INIT_RESOURCE(translations);
}

namespace kovrant {

bool UsesEnglish(const QLocale& locale)
{
    return locale.uiLanguages().value(0).startsWith(QStringLiteral("en"));
}

void InstallTranslations(const QLocale& locale)
{
    if (!UsesEnglish(locale))
        return;
    InitTranslationResources();
    // Lives as long as the application, which keeps using it.
    static QTranslator english;
    if (english.isEmpty() && english.load(QStringLiteral(":/i18n/kovrant_en.qm")))
        QCoreApplication::installTranslator(&english);
}

} // namespace kovrant
