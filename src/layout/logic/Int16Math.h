#pragma once

#include <cstdint>

// Signed 16-bit arithmetic that fails loudly: every result outside
// -32768..32767 raises SplitterOverflowError rather than wrapping.
class Int16Math
{
public:
    static std::int16_t narrow(std::int64_t value);
    // Nearest integer, halves to even, whatever the floating-point
    // environment's rounding mode happens to be.
    static std::int16_t round(double value);
    static std::int16_t add(std::int16_t a, std::int16_t b);
    static std::int16_t subtract(std::int16_t a, std::int16_t b);
    static double roundHalfToEven(double value);
};
