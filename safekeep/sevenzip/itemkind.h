#pragma once
// What an archive item is, read from its folder flag and its attributes:
// Windows attributes in the low 16 bits and, for items a Unix archiver
// stored, the file's st_mode in the high 16 bits (flagged by 0x8000). The
// component extracts a link or a device as a plain file holding whatever
// data it was stored with, so a caller that copies extracted files on
// checks the kind first.

#include <cstdint>

namespace safekeep {

namespace sz {

constexpr uint64_t kAttributeReadOnly = 0x01;
constexpr uint64_t kAttributeFolder = 0x10;
constexpr uint64_t kAttributeArchive = 0x20;
constexpr uint64_t kAttributeDevice = 0x40;
constexpr uint64_t kAttributeReparsePoint = 0x400;
// Set when the high 16 bits hold a Unix st_mode.
constexpr uint64_t kAttributeUnixExtension = 0x8000;

}  // namespace sz

enum class TArchiveItemKind { File, Folder, Link, Special };

TArchiveItemKind ArchiveItemKind(uint64_t attributes, bool isFolder);

}  // namespace safekeep
