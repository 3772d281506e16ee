#pragma once
// What the stand-in backup library saw of its last call; the tests read it
// through dlsym("FakeLastCall").

#include <vector>

namespace safekeep {
class TLanguageManager;
}
namespace tk {
class TDatabase;
}

struct TFakeBackupCall {
    int calls = 0;
    int restricted = -1;
    safekeep::TLanguageManager* languageManager = nullptr;
    tk::TDatabase* database1 = nullptr;
    tk::TDatabase* database2 = nullptr;
    std::vector<int> pagesShown;  // pages made current by its buttons, in order
};
