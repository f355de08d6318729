#include "platform/SettingsStore.h"

#include "document/Legacy.h"

#include <QSettings>
#include <QStringList>

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Ferno"), QStringLiteral("Vexolan"))) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::settingText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
        return QString::number(double(value.toFloat()), 'g', 7).toUpper();
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15).toUpper();
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::QStringList:
        return value.toStringList().join(QStringLiteral(", "));
    default:
        return value.toString();
    }
}

QString SettingsStore::ReadSetting(const QString& section, const QString& key,
                                   const QVariant& defaultValue) const {
    const QString path = section + QLatin1Char('/') + key;
    if (!m_settings->contains(path)) return settingText(defaultValue);
    // A hand-edited value holding a comma reads back as a list; keep it as
    // the one text it was meant to be.
    return settingText(m_settings->value(path));
}

void SettingsStore::ClearSection(const QString& section) {
    m_settings->remove(section);
    m_settings->sync();
}

void SettingsStore::WriteSetting(const QString& section, const QString& key, const QVariant& value) {
    m_settings->setValue(section + QLatin1Char('/') + key, settingText(value));
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        legacy::raise(QStringLiteral("Path/File access error"));
}

QString SettingsStore::ReadRegistryValue(const QString&, const QString&, const QString&,
                                         const QString&) const {
    return {};
}

QString SettingsStore::fileName() const {
    return m_settings->fileName();
}
