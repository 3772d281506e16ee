// The library's one entry: the host calls it to open the backup window.
#include "safekeep/backupform/frmcopiaseguridad.h"

namespace tk {
class TDatabase;
}

extern "C" __attribute__((visibility("default"))) int CopiaSeguridad(int Restricted,
                                                                      safekeep::TLanguageManager* languageManager,
                                                                      tk::TDatabase* Database1,
                                                                      tk::TDatabase* Database2)
{
    // The window is freed before returning; the four arguments stay the
    // host's. Exceptions are the host's standard handling, as for any call.
    safekeep::TfrmCopiaSeguridad window(Restricted, languageManager, Database1, Database2);
    return window.ShowModal() == tk::mrOk ? 1 : 0;
}
