#pragma once

// The program's own pseudo-random source, range 0 ... 32767, so that a noise
// or random echo made with a given seed is the same on every machine. Each
// thread draws its own sequence (seeded with 1 until SeedRandom).
inline constexpr int kRandomMax = 32767;

void SeedRandom(unsigned seed);
int NextRandom();
