#pragma once
// Turns the listing bodies servers send into entries: MLSD facts (times in
// UTC, converted to local time), LIST lines in their Unix ("ls -l") and DOS
// forms, and names-only listings.

#include "safekeep/ftpclient/ftplistitem.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace safekeep {

enum class TListingFormat { Mlsd, List, NamesOnly };

// One MLSD line: "modify=20261208155904;size=3;type=file; name". Lines that
// describe the listed directory itself (type cdir or pdir) and lines that
// are no entry give nothing.
std::optional<TFtpListItem> ParseMlsdLine(const QString& line);

// One LIST line, Unix or DOS form. LIST carries no time zone, so its times
// are taken as written. A Unix date without a year ("Dec 08 15:59") is
// placed in the year that puts it nearest to now.
std::optional<TFtpListItem> ParseListLine(const QString& line, const QDateTime& now);

// A whole listing body, lines ending in CR LF or LF, in the server's order.
// Lines that are no entry ("total 8", blank lines) are left out.
QList<TFtpListItem> ParseListing(const QByteArray& body, TListingFormat format, const QDateTime& now);

}  // namespace safekeep
