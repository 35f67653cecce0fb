#pragma once

#include <QByteArray>

#include <cstdint>

namespace sortilo {

// Numbers uniform in [0, 1) whose running state survives every reseeding: reseed() folds a clock
// reading into the state instead of restarting the sequence, so attempts within one clock
// reading never repeat one number over and over.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed(double timeOfDay) = 0;
    virtual double next() = 0;
};

// xoshiro256** giving doubles with 53 random bits. The seed constructor is for tests; the default
// one folds in entropy from the operating system, so two starts at the same clock reading draw
// differently.
class FoldingRandom : public RandomSource {
public:
    FoldingRandom();
    explicit FoldingRandom(uint64_t seed);
    void reseed(double timeOfDay) override;
    double next() override;

private:
    void fold(uint64_t value);
    uint64_t nextBits();
    uint64_t s_[4];
};

// Bytes nobody can foresee: a draw session's secret.
class SecretSource {
public:
    virtual ~SecretSource() = default;
    virtual QByteArray secret(int bytes) = 0;
};

// The operating system's generator.
class SystemSecretSource : public SecretSource {
public:
    QByteArray secret(int bytes) override;
};

}  // namespace sortilo
