#pragma once

#include "core/timeratio.h"
#include "ui/windowchoices.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

namespace kovrant {

// What the window restores at start and stores at close. A value-initialised StoredSettings
// holds the defaults, a first start's values, which a stored value that cannot be read in its
// form or lies outside its range also gives.
struct StoredSettings {
    bool alwaysTop = true;
    bool overwrite = false;
    bool noCrcCheck = false;
    TimeRatioChoice timeRatio = TimeRatioChoice::Unchanged;
    int ext0 = 0; // positions in LyricsExtensionChoices and SourceExtensionChoices
    int ext1 = 0;
    QString outFolder{};
    bool sameTtd = true;
    // The extension tool's recent list, most recent first, of ten items at most; an absent list
    // gives these three.
    QStringList newExtensions{QStringLiteral("TXT"), QStringLiteral("SRC"), QStringLiteral("LRC")};
    MainMode lastMode = MainMode::ExtensionSettings;

    // The group "Window", the window's own: where its frame's top-left corner was when it last
    // closed (nothing before the first close, and for a place beyond every screen's reach),
    // and the folder its file dialogs used last.
    std::optional<QPoint> windowPlace{};
    QString lastFolder{};

    bool operator==(const StoredSettings&) const = default;
};

// The settings as an INI file, groups "Init" and "Window". A file that cannot be read gives the
// defaults, and one that cannot be written keeps what it had: neither stops the program. Only a
// regular file (or none yet) is ever opened: a FIFO, a device or a folder at the path is neither
// read nor written, so that nothing waits on it.
class SettingsStore {
public:
    explicit SettingsStore(QString iniPath);

    // The user's file: organisation and application "Kovrant" in the user's configuration
    // folder ($XDG_CONFIG_HOME/Kovrant/Kovrant.ini on Linux), found without opening it.
    static QString defaultPath();
    const QString& path() const { return m_path; }

    StoredSettings load() const;
    // True when the file now holds the values. Items above the new "NewExtMax" that an earlier,
    // longer list left behind stay in the file and are not read again.
    bool save(const StoredSettings& values) const;

private:
    QString m_path;
};

} // namespace kovrant
