// SPDX-License-Identifier: MIT
// Turns Qt's "an assistive technology is listening" on and off for a test.
// On Linux only the AT-SPI bridge turns it on, when a screen reader runs;
// QAccessible::setActive() merely tells observers. The switch Qt itself
// uses is its platform's accessibility object, reached here through Qt's
// exported private interface (stable within Qt 6.4, which the program
// targets): the offscreen platform keeps the default one.
#pragma once

#include <QAccessible>

class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility *accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration *platform_integration;
};

namespace guitest {

// While one lives, QAccessible::isActive() is true.
class AssistiveTechnology {
public:
    AssistiveTechnology() { set(true); }
    ~AssistiveTechnology() { set(false); }
    AssistiveTechnology(const AssistiveTechnology &) = delete;
    AssistiveTechnology &operator=(const AssistiveTechnology &) = delete;

private:
    static void set(bool active)
    {
        if (QGuiApplicationPrivate::platform_integration)
            QGuiApplicationPrivate::platform_integration->accessibility()->setActive(active);
    }
};

}  // namespace guitest
