#pragma once

#include <QLocale>

namespace kovrant {

// Japanese is the program's own language; a user whose language is English gets the program's
// texts in English, and any other language the Japanese texts.
bool UsesEnglish(const QLocale& locale = QLocale());

// Installs the English texts into the application when the user's language is English. The
// translations are built into the program, so they are found wherever it is started from.
void InstallTranslations(const QLocale& locale = QLocale());

} // namespace kovrant
