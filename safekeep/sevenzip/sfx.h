#pragma once
// Self-extracting archives: a self-extractor module (a program) followed by a
// 7z archive. The archive is found by its signature together with the
// checksum of the start header that follows it, so that the signature bytes
// inside the module's own code do not count.

#include <QString>
#include <cstdint>
#include <optional>

namespace safekeep::sz {

// How far into a file the search for the archive goes.
constexpr uint64_t kSfxSearchLimit = 16 * 1024 * 1024;

// The offset of the 7z archive in file when one starts after offset 0
// within the search limit; nothing for a plain archive or another file.
std::optional<uint64_t> FindSfxArchiveOffset(const QString& file);

// The CRC-32 the 7z format uses (the zlib polynomial).
uint32_t Crc32(const unsigned char* data, size_t size);

}  // namespace safekeep::sz
