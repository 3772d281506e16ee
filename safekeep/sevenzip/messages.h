#pragma once
// The numbered messages of the archive component: the code is ErrCode, the
// text is what OnMessage receives (and what the backup window shows).

#include <QString>
#include <cstdint>

namespace safekeep {

enum TSevenZipMessageCode {
    szSuccess = 0,
    szFileNotFound = 1,
    szDataError = 2,
    szCRCError = 3,
    szUnsupportedMethod = 4,
    szIndexOutOfRange = 5,
    szUserCanceled = 6,
    szNotSFXArchive = 7,
    szSFXModuleNotFound = 8,
    szCouldNotCreateSFX = 9,
    szNoFilesToAdd = 10,
    szCouldNotCreateFile = 11,
};

// The text of a code ("" for an unknown one).
QString SevenZipMessageText(int code);

// The code for the result the library reports for one extracted item: 0 OK,
// 1 unsupported method, 3 CRC error; every other failure (data error,
// unavailable data, unexpected end, data after the end, not an archive,
// headers error, wrong password) is a data error.
int MessageCodeForItemResult(int32_t result);

}  // namespace safekeep
