#include "ui/settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace kovrant {

namespace {

const QString Organisation = QStringLiteral("Kovrant");
const QString Application = QStringLiteral("Kovrant");
const QString Group = QStringLiteral("Init");
const QString WindowGroup = QStringLiteral("Window");

// How a value is stored: "True" / "False", plain decimal, or the text itself.
enum class TextForm { TrueFalse, Decimal, Plain };

// One row per stored value, under its key in the group "Init": its form and, for a number, its
// range. The defaults are StoredSettings'.
struct SettingRow {
    QLatin1StringView key;
    TextForm form;
    int minimum = 0;
    int maximum = 0;
};

constexpr SettingRow Truth(const char* key)
{
    return {QLatin1StringView(key), TextForm::TrueFalse, 0, 1};
}

constexpr SettingRow Decimal(const char* key, int minimum, int maximum)
{
    return {QLatin1StringView(key), TextForm::Decimal, minimum, maximum};
}

constexpr SettingRow Plain(const char* key)
{
    return {QLatin1StringView(key), TextForm::Plain};
}

template <typename Choices>
constexpr int LastPosition(const Choices& choices)
{
    return static_cast<int>(choices.size()) - 1;
}

constexpr SettingRow AlwaysTop = Truth("AlwaysTop");
constexpr SettingRow OverWrite = Truth("OverWrite");
constexpr SettingRow NoCRCCheck = Truth("NoCRCCheck");
constexpr SettingRow TimeRatio = Decimal("TimeRatio", static_cast<int>(TimeRatioChoice::Unchanged),
                                         static_cast<int>(TimeRatioChoice::Ratio0_9953125));
constexpr SettingRow Ext0 = Decimal("Ext0", 0, LastPosition(LyricsExtensionChoices));
constexpr SettingRow Ext1 = Decimal("Ext1", 0, LastPosition(SourceExtensionChoices));
constexpr SettingRow OutFolder = Plain("OutFolder");
constexpr SettingRow SameTTD = Decimal("SameTTD", 0, 1);
// The position of the recent list's last item: -1 for an empty list, at most ten items.
constexpr SettingRow NewExtMax = Decimal("NewExtMax", -1, 9);
// The key is followed by the item's position: "NewExt0", "NewExt1", ...
constexpr SettingRow NewExt = Plain("NewExt");
constexpr SettingRow LastMode = Decimal("LastMode", 0, ModeCount - 1);
// The group "Window". Coordinates far beyond any screen are no place the window has been.
constexpr int FarAway = 1000000;
constexpr SettingRow Left = Decimal("Left", -FarAway, FarAway);
constexpr SettingRow Top = Decimal("Top", -FarAway, FarAway);
constexpr SettingRow LastFolder = Plain("LastFolder");

QString Key(const SettingRow& row, int position = -1)
{
    QString key = row.key;
    if (position >= 0)
        key += QString::number(position);
    return key;
}

class Reader {
public:
    explicit Reader(const QSettings& settings)
        : m_settings(settings)
    {}

    // An absent key, and a value that QSettings reads as a list (it holds a comma), give "",
    // which no number or truth value reads as.
    QString text(const SettingRow& row, int position = -1) const
    {
        return m_settings.value(Key(row, position)).toString();
    }

    // Reads a number or truth value into value; one that cannot be read, or lies out of range,
    // leaves value as it was.
    void number(const SettingRow& row, int& value) const
    {
        const QString stored = text(row);
        bool ok = false;
        int read = 0;
        if (row.form == TextForm::TrueFalse) {
            const bool isTrue = stored.compare(u"True", Qt::CaseInsensitive) == 0;
            ok = isTrue || stored.compare(u"False", Qt::CaseInsensitive) == 0;
            read = isTrue ? 1 : 0;
        } else {
            read = stored.toInt(&ok);
        }
        if (ok && read >= row.minimum && read <= row.maximum)
            value = read;
    }

    template <typename Value>
    void read(const SettingRow& row, Value& value) const
    {
        int number = static_cast<int>(value);
        this->number(row, number);
        value = static_cast<Value>(number);
    }

private:
    const QSettings& m_settings;
};

QString TrueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// QSettings reads its file as soon as it is made and replaces it when it saves: a FIFO would
// keep either waiting for ever, and a device or a folder is no settings file.
bool Usable(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

} // namespace

SettingsStore::SettingsStore(QString iniPath)
    : m_path(std::move(iniPath))
{}

QString SettingsStore::defaultPath()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Where QSettings puts a user's INI file here; asking QSettings itself would read the file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           Organisation + u'/' + Application + QStringLiteral(".ini");
#else
    return QSettings(QSettings::IniFormat, QSettings::UserScope, Organisation, Application)
        .fileName();
#endif
}

StoredSettings SettingsStore::load() const
{
    StoredSettings values;
    if (!Usable(m_path))
        return values;
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    const Reader reader(settings);

    reader.read(AlwaysTop, values.alwaysTop);
    reader.read(OverWrite, values.overwrite);
    reader.read(NoCRCCheck, values.noCrcCheck);
    reader.read(TimeRatio, values.timeRatio);
    reader.read(Ext0, values.ext0);
    reader.read(Ext1, values.ext1);
    values.outFolder = reader.text(OutFolder);
    reader.read(SameTTD, values.sameTtd);
    int last = -1;
    reader.read(NewExtMax, last);
    if (last >= 0) {
        // Empty items leave no gap: the list closes up.
        values.newExtensions.clear();
        for (int i = 0; i <= last; ++i) {
            const QString item = reader.text(NewExt, i);
            if (!item.isEmpty())
                values.newExtensions.append(item);
        }
    }
    reader.read(LastMode, values.lastMode);
    settings.endGroup();

    settings.beginGroup(WindowGroup);
    const Reader window(settings);
    QPoint place(FarAway + 1, FarAway + 1);
    window.read(Left, place.rx());
    window.read(Top, place.ry());
    if (place.x() <= FarAway && place.y() <= FarAway)
        values.windowPlace = place;
    values.lastFolder = window.text(LastFolder);
    return values;
}

bool SettingsStore::save(const StoredSettings& values) const
{
    if (!Usable(m_path))
        return false;
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    const auto write = [&settings](const SettingRow& row, const QString& text, int position = -1) {
        settings.setValue(Key(row, position), text);
    };
    const auto decimal = [](auto value) { return QString::number(static_cast<int>(value)); };
    write(AlwaysTop, TrueFalse(values.alwaysTop));
    write(OverWrite, TrueFalse(values.overwrite));
    write(NoCRCCheck, TrueFalse(values.noCrcCheck));
    write(TimeRatio, decimal(values.timeRatio));
    write(Ext0, decimal(values.ext0));
    write(Ext1, decimal(values.ext1));
    write(OutFolder, values.outFolder);
    write(SameTTD, decimal(values.sameTtd));
    write(NewExtMax, decimal(values.newExtensions.size() - 1));
    for (int i = 0; i < values.newExtensions.size(); ++i)
        write(NewExt, values.newExtensions[i], i);
    write(LastMode, decimal(values.lastMode));
    settings.endGroup();

    settings.beginGroup(WindowGroup);
    if (values.windowPlace) {
        write(Left, decimal(values.windowPlace->x()));
        write(Top, decimal(values.windowPlace->y()));
    }
    write(LastFolder, values.lastFolder);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kovrant
