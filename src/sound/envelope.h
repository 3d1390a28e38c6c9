#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "base/sampleconv.h"
#include "sound/wave.h"

// What the effects share about envelopes: a wave whose values steer a
// parameter along the range an effect works on.

inline constexpr double kPi = std::numbers::pi;

// Envelope values of 32767 stand for a factor of 1.
inline constexpr double kEnvelopeUnit = 1.0 / 32767;

// Frequency in Hz of a frequency-envelope value, logarithmic: -32768 is
// 20 Hz, each 21845 more a factor of ten (32767 is 20 kHz).
inline double EnvelopeFrequency(double value) {
  const std::int16_t e = TruncSample(value);
  return 20 * std::pow(10.0, (e + 32768) * (1.0 / 21845));
}

// An envelope read value by value: the position starts at 0 and moves on by
// a fixed step after each read. A position that summed steps carried past
// the last value reads the last value; an empty envelope reads 0.
class EnvelopeReader {
 public:
  EnvelopeReader() = default;
  EnvelopeReader(const Wave& envelope, double step) : envelope_(&envelope), step_(step) {}

  // Stretched over `span` values: the first reads the envelope's first value
  // and value span - 1 its last; values read beyond the span, and all but
  // the first of a one-value span, read the last.
  static EnvelopeReader Stretched(const Wave& envelope, std::int32_t span) {
    const double step = span > 1 ? static_cast<double>(envelope.getValues() - 1) / (span - 1)
                                 : std::numeric_limits<double>::infinity();
    return EnvelopeReader(envelope, step);
  }

  double Next() {
    const double e = envelope_->readEnvelope(position_);
    position_ += step_;
    return e;
  }

 private:
  const Wave* envelope_ = nullptr;
  double step_ = 0;
  double position_ = 0;
};
