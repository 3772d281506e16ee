#pragma once
// The position a stream seek asks for, shared by the archive's reading and
// writing streams.

#include "safekeep/sevenzip/abi.h"

#include <cstdint>

namespace safekeep::sz {

// From the start (origin 0), the current position (1) or the end (2):
// E_INVALIDARG for another origin, E_NEGATIVE_SEEK before the start.
inline HRESULT SeekTarget(int64_t offset, uint32_t origin, uint64_t position, uint64_t size, uint64_t& target)
{
    int64_t base = 0;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = int64_t(position);
        break;
    case 2:
        base = int64_t(size);
        break;
    default:
        return E_INVALIDARG;
    }
    if (base + offset < 0)
        return E_NEGATIVE_SEEK;
    target = uint64_t(base + offset);
    return S_OK;
}

}  // namespace safekeep::sz
