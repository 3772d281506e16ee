#pragma once
// Reads the server's answer to FEAT: which optional commands it offers.

#include <QByteArray>

namespace safekeep {

// replies: every reply line the server sent during a request, in order.
// True when its FEAT answer lists MLST (which covers MLSD) or MLSD.
bool OffersMlsd(const QByteArray& replies);

}  // namespace safekeep
