#include "ui/settings.h"

#include <QSettings>

#include <utility>

namespace kovrant {

namespace {

const QString Organisation = QStringLiteral("Kovrant");
const QString Application = QStringLiteral("Kovrant");
const QString Group = QStringLiteral("Init");

const SettingRow& Row(Setting setting)
{
    return SettingTable[static_cast<std::size_t>(setting)];
}

QString Key(Setting setting, int position = -1)
{
    QString key = Row(setting).key;
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
    QString text(Setting setting, int position = -1) const
    {
        return m_settings.value(Key(setting, position)).toString();
    }

    int number(Setting setting) const
    {
        const SettingRow& row = Row(setting);
        const QString stored = text(setting);
        bool ok = false;
        int value = 0;
        if (row.form == TextForm::TrueFalse) {
            const bool isTrue = stored.compare(u"True", Qt::CaseInsensitive) == 0;
            ok = isTrue || stored.compare(u"False", Qt::CaseInsensitive) == 0;
            value = isTrue ? 1 : 0;
        } else {
            value = stored.toInt(&ok);
        }
        if (!ok || value < row.minimum || value > row.maximum)
            return row.fallback;
        return value;
    }

    bool truth(Setting setting) const { return number(setting) != 0; }

private:
    const QSettings& m_settings;
};

QString TrueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

SettingsStore::SettingsStore(QString iniPath)
    : m_path(std::move(iniPath))
{}

QString SettingsStore::defaultPath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, Organisation, Application)
        .fileName();
}

StoredSettings SettingsStore::load() const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    const Reader read(settings);

    StoredSettings values;
    values.alwaysTop = read.truth(Setting::AlwaysTop);
    values.overwrite = read.truth(Setting::OverWrite);
    values.noCrcCheck = read.truth(Setting::NoCRCCheck);
    values.timeRatio = read.number(Setting::TimeRatio);
    values.ext0 = read.number(Setting::Ext0);
    values.ext1 = read.number(Setting::Ext1);
    values.outFolder = read.text(Setting::OutFolder);
    values.sameTtd = read.truth(Setting::SameTTD);
    const int last = read.number(Setting::NewExtMax);
    if (last >= 0) {
        // Empty items leave no gap: the list closes up.
        values.newExtensions.clear();
        for (int i = 0; i <= last; ++i) {
            const QString item = read.text(Setting::NewExt, i);
            if (!item.isEmpty())
                values.newExtensions.append(item);
        }
    }
    values.lastMode = read.number(Setting::LastMode);
    return values;
}

bool SettingsStore::save(const StoredSettings& values) const
{
    QSettings settings(m_path, QSettings::IniFormat);
    settings.beginGroup(Group);
    const auto write = [&settings](Setting setting, const QString& text, int position = -1) {
        settings.setValue(Key(setting, position), text);
    };
    write(Setting::AlwaysTop, TrueFalse(values.alwaysTop));
    write(Setting::OverWrite, TrueFalse(values.overwrite));
    write(Setting::NoCRCCheck, TrueFalse(values.noCrcCheck));
    write(Setting::TimeRatio, QString::number(values.timeRatio));
    write(Setting::Ext0, QString::number(values.ext0));
    write(Setting::Ext1, QString::number(values.ext1));
    write(Setting::OutFolder, values.outFolder);
    write(Setting::SameTTD, QString::number(values.sameTtd ? 1 : 0));
    write(Setting::NewExtMax, QString::number(values.newExtensions.size() - 1));
    for (int i = 0; i < values.newExtensions.size(); ++i)
        write(Setting::NewExt, values.newExtensions[i], i);
    write(Setting::LastMode, QString::number(values.lastMode));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace kovrant
