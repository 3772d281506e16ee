#include "safekeep/sevenzip/sfx.h"

#include <QByteArray>
#include <QFile>
#include <array>

namespace safekeep::sz {

namespace {

constexpr char kSignature[] = {'7', 'z', char(0xBC), char(0xAF), 0x27, 0x1C};
constexpr qsizetype kStartHeaderSize = 32;  // signature, version, CRC, 20 bytes it covers

std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t index = 0; index < 256; ++index) {
        uint32_t value = index;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[index] = value;
    }
    return table;
}

uint32_t ReadUInt32(const char* bytes)
{
    uint32_t value = 0;
    for (int index = 3; index >= 0; --index)
        value = (value << 8) | uint8_t(bytes[index]);
    return value;
}

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t size)
{
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t index = 0; index < size; ++index)
        crc = table[(crc ^ data[index]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::optional<uint64_t> FindSfxArchiveOffset(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = input.read(qint64(kSfxSearchLimit) + kStartHeaderSize);
    const QByteArray signature(kSignature, sizeof(kSignature));
    for (qsizetype at = head.indexOf(signature, 1); at > 0; at = head.indexOf(signature, at + 1)) {
        if (at + kStartHeaderSize > head.size())
            break;
        const char* header = head.constData() + at;
        const auto* covered = reinterpret_cast<const unsigned char*>(header + 12);
        if (ReadUInt32(header + 8) == Crc32(covered, 20))
            return uint64_t(at);
    }
    return std::nullopt;
}

}  // namespace safekeep::sz
