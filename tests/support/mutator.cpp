#include "tests/support/mutator.h"

#include <QtEndian>
#include <algorithm>
#include <cassert>
#include <cctype>

namespace tk::test {

namespace {

// Numbers that overflow 32-bit counts, lengths and sizes, or make them
// negative or zero.
const QByteArrayList kHugeNumbers = {"2147483647", "2147483648", "4294967295", "-2147483648", "-1", "0",
                                     "99999999999999999999", "1e308", "65536"};

// Bytes that change a reader's path: line and field breaks, quotes, NUL,
// a UTF-8 lead byte without its tail, a byte order mark.
const QByteArrayList kBreakers = {"\n", "\r\n", "\t", "'", "\"", QByteArray(1, '\0'), "\xc3", "\xef\xbb\xbf"};

const quint32 kHugeWords[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00010000u, 0u};

}  // namespace

TMutator::TMutator(QByteArray valid, unsigned seed, QByteArrayList tokens)
    : valid_(std::move(valid)), seed_(seed), tokens_(std::move(tokens)), random_(seed)
{
    assert(!valid_.isEmpty());
}

TMutation TMutator::Next()
{
    TMutation mutation;
    mutation.bytes = valid_;
    const int damages = std::uniform_int_distribution<int>(1, 3)(random_);
    QStringList what;
    for (int i = 0; i < damages; ++i)
        what << Damage(mutation.bytes);
    mutation.what = what.join(QStringLiteral(", "));
    return mutation;
}

QString TMutator::Trace(int iteration, const TMutation& mutation) const
{
    return QStringLiteral("seed %1, iteration %2: %3").arg(seed_).arg(iteration).arg(mutation.what);
}

QString TMutator::Damage(QByteArray& bytes)
{
    auto below = [this](qsizetype n) {
        return n <= 0 ? qsizetype(0) : std::uniform_int_distribution<qsizetype>(0, n - 1)(random_);
    };
    auto pick = [&](const QByteArrayList& list) { return list.at(below(list.size())); };
    const qsizetype size = bytes.size();
    switch (below(9)) {
    case 0: {
        const qsizetype at = below(size);
        const int bit = int(below(8));
        if (at < size)
            bytes[at] = char(bytes[at] ^ (1 << bit));
        return QStringLiteral("flip bit %1 at %2").arg(bit).arg(at);
    }
    case 1: {
        const qsizetype at = below(size);
        const char value = char(below(256));
        if (at < size)
            bytes[at] = value;
        return QStringLiteral("byte %1 at %2").arg(int(uchar(value))).arg(at);
    }
    case 2: {
        const qsizetype at = below(size + 1);
        bytes.truncate(at);
        return QStringLiteral("cut at %1").arg(at);
    }
    case 3: {
        const qsizetype at = below(size);
        const qsizetype length = std::min<qsizetype>(1 + below(64), size - at);
        bytes.insert(at, bytes.mid(at, length));
        return QStringLiteral("duplicate %1 bytes at %2").arg(length).arg(at);
    }
    case 4: {
        const qsizetype at = below(size);
        const qsizetype length = std::min<qsizetype>(1 + below(64), size - at);
        bytes.remove(at, length);
        return QStringLiteral("remove %1 bytes at %2").arg(length).arg(at);
    }
    case 5: {
        // A run of digits (a count, a size, a width) becomes a huge number.
        qsizetype start = below(size);
        while (start < size && !std::isdigit(uchar(bytes[start])))
            ++start;
        qsizetype end = start;
        while (end < size && std::isdigit(uchar(bytes[end])))
            ++end;
        const QByteArray number = pick(kHugeNumbers);
        if (start < size)
            bytes.replace(start, end - start, number);
        else
            bytes.insert(below(size + 1), number);
        return QStringLiteral("number %1 at %2").arg(QString::fromLatin1(number)).arg(start);
    }
    case 6: {
        // A 32-bit field of a binary header becomes extreme.
        const qsizetype at = below(std::max<qsizetype>(size - 3, 1));
        const quint32 word = kHugeWords[below(std::size(kHugeWords))];
        if (at + 4 <= size)
            bytes = WithLittleEndian32(bytes, int(at), word);
        return QStringLiteral("word %1 at %2").arg(word, 0, 16).arg(at);
    }
    case 7: {
        const QByteArray token = tokens_.isEmpty() || below(3) == 0 ? pick(kBreakers) : pick(tokens_);
        const qsizetype at = below(size + 1);
        bytes.insert(at, token);
        return QStringLiteral("insert %1 at %2").arg(QString::fromLatin1(token.toHex())).arg(at);
    }
    default: {
        // A wrong signature: the first bytes replaced.
        const qsizetype length = std::min<qsizetype>(1 + below(4), size);
        for (qsizetype i = 0; i < length; ++i)
            bytes[i] = char(below(256));
        return QStringLiteral("signature %1 bytes").arg(length);
    }
    }
}

QByteArrayList Truncations(const QByteArray& valid, int step, const QList<int>& interesting)
{
    assert(step > 0);
    QByteArrayList cuts;
    for (qsizetype at = 0; at < valid.size(); at += step)
        cuts << valid.left(at);
    for (int at : interesting)
        if (at >= 0 && at < valid.size())
            cuts << valid.left(at);
    return cuts;
}

QByteArray WithLittleEndian32(QByteArray bytes, int offset, quint32 value)
{
    assert(offset >= 0 && offset + 4 <= bytes.size());
    qToLittleEndian<quint32>(value, bytes.data() + offset);
    return bytes;
}

}  // namespace tk::test
