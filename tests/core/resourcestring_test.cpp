#include "toolkit/core/collection.h"
#include "toolkit/core/coreconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/strings.h"

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

TEST(ResourceString, ListIndexErrorsSpeakTheTranslation)
{
    QString spanish = QStringLiteral("Índice de lista fuera de límites (%d)");
    SetResourceStringOverride(&SListIndexError, &spanish);
    TStringList lines;
    TCollection items(&TCollectionItem::staticMetaObject);
    try {
        lines.Delete(3);
        ADD_FAILURE() << "Delete(3) of an empty list should raise";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Índice de lista fuera de límites (3)"));
    }
    try {
        items.Items(-1);
        ADD_FAILURE() << "Items(-1) should raise";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Índice de lista fuera de límites (-1)"));
    }
    SetResourceStringOverride(&SListIndexError, nullptr);
    EXPECT_THROW(items.Items(0), EListError);
}

}  // namespace
}  // namespace tk
