#include "safekeep/sevenzip/messages.h"

namespace safekeep {

QString SevenZipMessageText(int code)
{
    switch (code) {
    case szSuccess:
        return QStringLiteral("Success");
    case szFileNotFound:
        return QStringLiteral("File not found");
    case szDataError:
        return QStringLiteral("Data Error");
    case szCRCError:
        return QStringLiteral("CRC Error");
    case szUnsupportedMethod:
        return QStringLiteral("Unsupported Method");
    case szIndexOutOfRange:
        return QStringLiteral("Index out of Range");
    case szUserCanceled:
        return QStringLiteral("User canceled operation");
    case szNotSFXArchive:
        return QStringLiteral("File is not an 7z SFX archive");
    case szSFXModuleNotFound:
        return QStringLiteral("SFXModule error ( Not found )");
    case szCouldNotCreateSFX:
        return QStringLiteral("Could not create SFX");
    case szNoFilesToAdd:
        return QStringLiteral("No files to add");
    case szCouldNotCreateFile:
        return QStringLiteral("Could not create file");
    default:
        return QString();
    }
}

int MessageCodeForItemResult(int32_t result)
{
    switch (result) {
    case 0:
        return szSuccess;
    case 1:
        return szUnsupportedMethod;
    case 3:
        return szCRCError;
    default:
        return szDataError;
    }
}

}  // namespace safekeep
