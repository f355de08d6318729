// Declares the columns of a Qt Test data table in one line:
// columns<int, QString>("count", "name").
#pragma once

#include <QTest>

namespace testsupport {

template <typename... T, typename... Names>
void columns(Names... names) {
    static_assert(sizeof...(T) == sizeof...(Names), "one name per column");
    (QTest::addColumn<T>(names), ...);
}

} // namespace testsupport
