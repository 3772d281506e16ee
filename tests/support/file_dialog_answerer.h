#pragma once
// Answers the next file dialog as a user would: types the path into it and
// confirms. The dialog opens inside its own event loop, so the answer is
// given from a timer.

#include <QString>

namespace tk::test {

// Arms the answer for the next file dialog that opens (within a few seconds).
void AnswerNextFileDialog(const QString& path);

}  // namespace tk::test
