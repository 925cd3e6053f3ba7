#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QWindow;

namespace kovrant {

// Puts the window into the stays-on-top band (on) or takes it out, without hiding, moving or
// re-showing it. A window already in the wanted state is left alone.
void SetTopmost(QWindow* window, bool on);

// The address OpenDocument would hand to the desktop for target: target itself when it begins
// with "http", an existing regular file as a file URL, and nothing otherwise.
std::optional<QUrl> DocumentUrl(const QString& target);

// Opens target with the program the desktop associates with it; silently does nothing for a
// target that DocumentUrl refuses. The desktop shows what it opens on its own.
void OpenDocument(const QString& target);

} // namespace kovrant
