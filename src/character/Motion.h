// The arithmetic of a character's motion.
#pragma once

// The follow divisor for a speed: (10 ^ (1 / s²) − 1) × 50000. Larger speeds give smaller
// divisors and so larger steps; a speed of 0 gives an infinite divisor (no follow motion on
// that axis), a negative speed the divisor of its absolute value.
float FollowDivisor(int speed);
