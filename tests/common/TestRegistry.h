// Lets each test file register its QObject test class with one line, so that
// a subsystem's test executable runs every class in its folder.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace testing_support {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<std::pair<const char*, Factory>>& registry() {
    static std::vector<std::pair<const char*, Factory>> r;
    return r;
}

struct Registrar {
    Registrar(const char* name, Factory f) { registry().emplace_back(name, std::move(f)); }
};

} // namespace testing_support

#define VEX_TEST(Class)                                                                          \
    static testing_support::Registrar vex_registrar_##Class(#Class,                              \
                                                            [] { return std::make_unique<Class>(); })
