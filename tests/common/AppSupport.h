// What the application tests share: the program's settings section as the
// user's settings file holds it, and compact forms for table rows.
#pragma once

#include "platform/SettingsStore.h"

#include <QStringList>
#include <QTest>
#include <initializer_list>

namespace appsupport {

inline const QString Sec = QStringLiteral("Vexolan");

// A stored setting; "<none>" when there is none.
inline QString setting(const QString& key) { return SettingsStore().ReadSetting(Sec, key, QStringLiteral("<none>")); }

// Stores "Key=value" pairs.
inline void store(const QStringList& pairs) {
    for (const QString& kv : pairs) SettingsStore().WriteSetting(Sec, kv.section('=', 0, 0), kv.section('=', 1));
}

// Flags as a string of 1s and 0s, in the order given.
inline QString bits(std::initializer_list<bool> v) {
    QString s;
    for (bool b : v) s += b ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// A column of the current data row, as QFETCH but usable inside an expression.
template <class T> T col(const char* name) { return *static_cast<T*>(QTest::qData(name, qMetaTypeId<T>())); }

} // namespace appsupport
