// Any bytes as the settings file: loading gives values the window can take (every number in its
// range, at most ten non-empty recent extensions), and saving them and loading again gives the
// same values back (an empty recent list comes back as the three defaults, as at a first start).
#include "ui/settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace kovrant;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kovrant.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const SettingsStore store(path);
    const StoredSettings loaded = store.load();
    const auto in = [](int value, int low, int high) { return value >= low && value <= high; };
    if (!in(int(loaded.timeRatio), 0, 2) || !in(loaded.ext0, 0, 2) || !in(loaded.ext1, 0, 2) ||
        !in(int(loaded.lastMode), 0, ModeCount - 1) || loaded.newExtensions.size() > 10 ||
        loaded.newExtensions.contains(QString()))
        std::abort();
    // An empty list is saved as none, which the next start fills with the three defaults.
    StoredSettings expected = loaded;
    if (expected.newExtensions.isEmpty())
        expected.newExtensions = StoredSettings().newExtensions;
    QFile::remove(path);
    if (!store.save(loaded) || store.load() != expected)
        std::abort();
    return 0;
}
