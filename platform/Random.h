#pragma once

#include <QtGlobal>

// Uniform random numbers in [0, 1), reseeded at the points where the exam wants fresh draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed() = 0;
    virtual float next() = 0;
};

RandomSource& CurrentRandom();
void SetRandom(RandomSource* source); // nullptr goes back to the clock-seeded generator
void Randomize();                     // CurrentRandom().reseed()
float Rnd();                          // CurrentRandom().next()
