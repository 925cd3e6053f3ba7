#include "ui/programicon.h"

// The icons are resources of a static library, which the linker keeps only when asked.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace kovrant {

QIcon ProgramIcon()
{
    InitIconResources();
    QIcon icon;
    for (const char* size : {"16", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/icons/kovrant-%1.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace kovrant
