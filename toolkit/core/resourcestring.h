#pragma once
// Resource strings: texts compiled into a module (messages, captions) that a
// translation can replace at run time. A resource string is a record; code
// reads it with LoadResString, which returns the replacement registered for
// that record, or else the record's own text.
//
//     TK_RESOURCESTRING(SDataSetClosed, "Cannot perform this operation on a closed dataset");
//     throw EDatabaseError(LoadResString(&SDataSetClosed));

#include <QString>

namespace tk {

struct TResourceString {
    const char* name;  // the identifier, for diagnostics
    const char* text;  // UTF-8
};

#define TK_RESOURCESTRING(Name, Text) inline constexpr ::tk::TResourceString Name{#Name, Text}

// The replacement text when one is registered, else the record's text.
QString LoadResString(const TResourceString* resource);

// Registers replacement as the text of resource; the caller keeps the
// replacement alive while it is registered (nothing is copied). A null
// replacement removes the override.
void SetResourceStringOverride(const TResourceString* resource, const QString* replacement);

}  // namespace tk
