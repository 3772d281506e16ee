#pragma once
// The system clipboard's text. Both functions need the application object
// (QGuiApplication); our code runs them on the user-interface thread.

#include <QString>

namespace tk {

// Replaces the clipboard's content with text (plain text only). An empty
// text still replaces what was there.
void SetClipboardText(const QString& text);
// The clipboard's plain text; "" when it holds none.
QString ClipboardText();
bool ClipboardHasText();

}  // namespace tk
