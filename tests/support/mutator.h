#pragma once
// Damaged copies of a valid input, for the tests that feed readers hostile
// bytes. Deterministic: the same seed gives the same sequence, so a failing
// case is found again from the seed and iteration its trace names.
//
//   tk::test::TMutator mutator(validBytes, 2101, {"2147483647", "end"});
//   for (int i = 0; i < 400; ++i) {
//       const tk::test::TMutation m = mutator.Next();
//       SCOPED_TRACE(mutator.Trace(i, m));
//       ... load m.bytes, expect a clear error or a sound result ...
//   }

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <random>

namespace tk::test {

struct TMutation {
    QByteArray bytes;
    QString what;  // "flip bit 3 at 120", "cut at 17"...
};

class TMutator {
public:
    // tokens: pieces of the input's own language spliced in at random
    // places ("end", "(", "\t", "FIELD"...); the mutator adds numbers that
    // overflow count, length and dimension fields.
    TMutator(QByteArray valid, unsigned seed, QByteArrayList tokens = {});

    // One copy with one to three random damages.
    TMutation Next();
    // "seed 2101, iteration 17: cut at 90" for SCOPED_TRACE.
    QString Trace(int iteration, const TMutation& mutation) const;

    unsigned Seed() const { return seed_; }

private:
    QString Damage(QByteArray& bytes);

    QByteArray valid_;
    unsigned seed_;
    QByteArrayList tokens_;
    std::mt19937 random_;
};

// The valid bytes cut after every offset in [0, size) that step lands on,
// and after each offset in interesting: a truncated file at each place a
// reader may stop.
QByteArrayList Truncations(const QByteArray& valid, int step, const QList<int>& interesting = {});

// bytes with the 32-bit little-endian field at offset replaced by value.
QByteArray WithLittleEndian32(QByteArray bytes, int offset, quint32 value);

}  // namespace tk::test
