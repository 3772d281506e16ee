#pragma once
// What this process holds open, for tests that must see a file let go.

#include <QString>

namespace tk::test {

// How many descriptors of this process are open on the file: a closed
// connection must hold none, or the file cannot really be let go.
int DescriptorsOn(const QString& path);

}  // namespace tk::test
