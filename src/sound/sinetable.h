#pragma once

#include "sound/wave.h"

// One period of a sine, 9000 values of amplitude 32767, shared by the sinus
// and multi-frequency generators. The owner of the program's lifetime builds
// it at start and frees it at the end.
inline constexpr std::int32_t kSineTableValues = 9000;

// Builds the table; when the memory is not there, says "Could not create
// sinus." and returns false (the sinus generator then stops at its check).
bool CreateSineTable();
void DestroySineTable();
// The table, or null when it does not exist.
const Wave* SineTable();

// Builds the table for the lifetime of main().
class SineTableLifetime {
 public:
  SineTableLifetime() { CreateSineTable(); }
  ~SineTableLifetime() { DestroySineTable(); }
  SineTableLifetime(const SineTableLifetime&) = delete;
  SineTableLifetime& operator=(const SineTableLifetime&) = delete;
};
