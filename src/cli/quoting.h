#pragma once

#include <QString>

namespace kovrant {

// A name as the command line prints it. A name that holds a line break, another control
// character, a bidirectional control or bytes that are not UTF-8 could forge a line of its own,
// drive the terminal or show its characters in another order, so it is quoted as the shell
// would read it back ($'new\nline.LRC'); every other name, Japanese included, stands as it is.
QString QuotedName(const QString& name);

// A text for one line of output: control characters written as escapes, nothing else changed.
QString OneLineText(const QString& text);

} // namespace kovrant
