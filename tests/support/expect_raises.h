#pragma once
// The one way tests check that a call raises a toolkit exception with a
// given message:
//
//   EXPECT_EQ(MessageOf<EListError>([&] { list.Delete(5); }), "List index out of bounds (5)");
//
// MessageOf runs body and returns the message of the exception of type E
// it raised, or kNoException when it returned normally (so the comparison
// fails with a readable text). An exception of another type passes through,
// and GoogleTest reports it as unexpected.

#include "toolkit/core/exceptions.h"

#include "tests/support/qt_printers.h"

#include <QString>

namespace tk::test {

inline const QString kNoException = QStringLiteral("(no exception)");

template <typename E = tk::Exception, typename Body> QString MessageOf(Body&& body)
{
    try {
        body();
    } catch (const E& e) {
        return e.Message();
    }
    return kNoException;
}

}  // namespace tk::test
