#pragma once

#include <cstdint>

// The random numbers of the random echo: six dice, each a 30-bit number
// drawn from the program's own generator, so that an echo made with a given
// seed is the same on every machine. Several properties may read the same
// die and then move together.
class Dicer {
 public:
  static constexpr int DICES = 6;

  // Seeds the program's generator; the dice read 0 until the first Roll.
  explicit Dicer(unsigned seed);

  // Draws new values for all dice.
  void Roll();

  // The die's value mapped onto low ... high (it may overshoot high by about
  // 0.006 % of the span: the divisor is a little below the largest value).
  double Get(int dice, double high, double low) const;

  std::int32_t Value(int dice) const;

 private:
  std::int32_t dice_[DICES] = {};
};
