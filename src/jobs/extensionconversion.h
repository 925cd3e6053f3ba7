#pragma once

#include "jobs/jobstate.h"

namespace kovrant {

// The text with every leading "." removed ("..lrc" gives "lrc"; a dot inside stays).
QString StripLeadingDots(const QString& text);

// Gives each queued file the extension newExtension (no leading dot), never replacing an
// existing file. True only when every file was renamed.
bool BatchRename(const QStringList& queue, const QString& newExtension, JobContext& context,
                 BatchResults& results);

// The recent list after a successful batch with current: current first, its exact (case-
// sensitive) copies among the first ten positions removed, at most ten items.
QStringList RememberNewExtension(const QString& current, const QStringList& items);

} // namespace kovrant
