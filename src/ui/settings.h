#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <array>

namespace kovrant {

// The kinds of stored value, each under its key in the group "Init".
enum class Setting {
    AlwaysTop,
    OverWrite,
    NoCRCCheck,
    TimeRatio,
    Ext0,
    Ext1,
    OutFolder,
    SameTTD,
    NewExtMax,
    NewExt, // the key is followed by the item's position: "NewExt0", "NewExt1", ...
    LastMode,
};

// How a value is stored: "True" / "False", plain decimal, or the text itself.
enum class TextForm { TrueFalse, Decimal, Plain };

struct SettingRow {
    Setting setting;
    QLatin1StringView key;
    TextForm form;
    int fallback; // the default of a TrueFalse (1 for true) or Decimal value
    int minimum;
    int maximum;
};

// One row per kind of value, in the order of Setting. A stored value that cannot be read in
// its form, or lies outside minimum..maximum, gives the row's default.
inline constexpr std::array<SettingRow, 11> SettingTable{{
    {Setting::AlwaysTop, QLatin1StringView("AlwaysTop"), TextForm::TrueFalse, 1, 0, 1},
    {Setting::OverWrite, QLatin1StringView("OverWrite"), TextForm::TrueFalse, 0, 0, 1},
    {Setting::NoCRCCheck, QLatin1StringView("NoCRCCheck"), TextForm::TrueFalse, 0, 0, 1},
    {Setting::TimeRatio, QLatin1StringView("TimeRatio"), TextForm::Decimal, 0, 0, 2},
    {Setting::Ext0, QLatin1StringView("Ext0"), TextForm::Decimal, 0, 0, 2},
    {Setting::Ext1, QLatin1StringView("Ext1"), TextForm::Decimal, 0, 0, 2},
    {Setting::OutFolder, QLatin1StringView("OutFolder"), TextForm::Plain, 0, 0, 0},
    {Setting::SameTTD, QLatin1StringView("SameTTD"), TextForm::Decimal, 1, 0, 1},
    // The recent list holds at most ten items.
    {Setting::NewExtMax, QLatin1StringView("NewExtMax"), TextForm::Decimal, -1, -1, 9},
    {Setting::NewExt, QLatin1StringView("NewExt"), TextForm::Plain, 0, 0, 0},
    {Setting::LastMode, QLatin1StringView("LastMode"), TextForm::Decimal, 3, 0, 4},
}};

// What the window restores at start and stores at close; the defaults are a first start's.
struct StoredSettings {
    bool alwaysTop = true;
    bool overwrite = false;
    bool noCrcCheck = false;
    int timeRatio = 0; // TimeRatioChoice
    int ext0 = 0;      // positions in the two extension lists
    int ext1 = 0;
    QString outFolder{};
    bool sameTtd = true;
    // The extension tool's recent list, most recent first; an absent list gives these three.
    QStringList newExtensions{QStringLiteral("TXT"), QStringLiteral("SRC"), QStringLiteral("LRC")};
    int lastMode = 3; // the extension settings

    bool operator==(const StoredSettings&) const = default;
};

// The settings as an INI file, group "Init". A file that cannot be read gives the defaults, and
// one that cannot be written keeps what it had: neither stops the program.
class SettingsStore {
public:
    explicit SettingsStore(QString iniPath);

    // The user's file: organisation and application "Kovrant" in the user's configuration
    // folder ($XDG_CONFIG_HOME/Kovrant/Kovrant.ini on Linux).
    static QString defaultPath();

    StoredSettings load() const;
    // True when the file now holds the values. Items above the new "NewExtMax" that an earlier,
    // longer list left behind stay in the file and are not read again.
    bool save(const StoredSettings& values) const;

private:
    QString m_path;
};

} // namespace kovrant
