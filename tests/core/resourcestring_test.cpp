#include "toolkit/core/resourcestring.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

TK_RESOURCESTRING(SGreeting, "Hello, año");
TK_RESOURCESTRING(SFarewell, "Goodbye");

TEST(ResourceString, OverrideReplacesOnlyItsRecordUntilRemoved)
{
    EXPECT_EQ(LoadResString(&SGreeting), QStringLiteral("Hello, año"));
    QString spanish = QStringLiteral("Hola");
    SetResourceStringOverride(&SGreeting, &spanish);
    EXPECT_EQ(LoadResString(&SGreeting), QStringLiteral("Hola"));
    EXPECT_EQ(LoadResString(&SFarewell), QStringLiteral("Goodbye"));
    // The override is the caller's text, not a copy of it.
    spanish = QStringLiteral("Buenas");
    EXPECT_EQ(LoadResString(&SGreeting), QStringLiteral("Buenas"));
    SetResourceStringOverride(&SGreeting, nullptr);
    EXPECT_EQ(LoadResString(&SGreeting), QStringLiteral("Hello, año"));
    EXPECT_EQ(LoadResString(nullptr), QString());
}

}  // namespace
}  // namespace tk
