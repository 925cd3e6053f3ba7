#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace kovrant {

// The folders that may hold the help document: the program's own folder (the build tree), the
// data folder beside an installed program (<prefix>/share/kovrant) and the one it was built for.
QStringList HelpFolders();

// The first existing help document in folders, "" when there is none: kovrant-help.ja.html,
// or kovrant-help.en.html first for a user whose language is English.
QString FindHelpDocument(const QStringList& folders, const QLocale& locale = QLocale());

} // namespace kovrant
