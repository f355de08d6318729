// The settings store: named text values kept per user between runs, read and
// written under a section (the product name) and a key.  Values live in an
// INI file in the user's config folder (~/.config/Ferno/Vexolan.ini).
#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored text of section/key, or the default turned into text when
    // nothing is stored there.
    QString ReadSetting(const QString& section, const QString& key, const QVariant& defaultValue) const;
    // Stores the value as text and writes it through to the file at once, so
    // every later read, in this run or a later one, sees it.  Throws
    // legacy::Error when the file cannot be written.
    void WriteSetting(const QString& section, const QString& key, const QVariant& value);
    // There is no machine registry on this system: always "".
    QString ReadRegistryValue(const QString& hive, const QString& keyPath, const QString& valueName,
                              const QString& valueType) const;

    // Removes every value of a section (used to start from a clean store).
    void ClearSection(const QString& section);

    // The file the values are kept in.
    QString fileName() const;

    // How a value is written as text: booleans as "True"/"False", numbers in
    // plain C-locale decimal (up to 7 significant digits for a float), texts
    // as they are.
    static QString settingText(const QVariant& value);

private:
    std::unique_ptr<QSettings> m_settings;
};
