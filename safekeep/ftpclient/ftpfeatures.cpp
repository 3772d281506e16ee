#include "safekeep/ftpclient/ftpfeatures.h"

#include <QList>

namespace safekeep {

bool OffersMlsd(const QByteArray& replies)
{
    // The FEAT answer runs from "211-" to "211 "; each feature line between
    // starts with a blank. Other replies (the banner) may say anything.
    bool inFeatures = false;
    const QList<QByteArray> lines = replies.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (!inFeatures) {
            inFeatures = line.startsWith("211-");
            continue;
        }
        if (line.startsWith("211 "))
            return false;
        const QByteArray feature = line.split(' ').value(0).toUpper();
        if (feature == "MLST" || feature == "MLSD")
            return true;
    }
    return false;
}

}  // namespace safekeep
