#pragma once

namespace t1 {

// The oven, its sensor and its converters, as every lesson's tables use them.

// The lessons' arithmetic is carried in 80-bit extended precision, so that a
// rounding up to the next tenth never falls on the other side of a boundary.
using Extended = long double;

// The oven's time constants in ticks, as reciprocal rates per tick: T1 is
// about 200 ticks while it heats, about 103 with its door open. The
// closed-loop lessons take the quotients at extended precision.
inline constexpr Extended kRate200_2 = 1.0L / 200.2L;
inline constexpr Extended kRate200_1 = 1.0L / 200.1L;
inline constexpr Extended kRate200_01 = 1.0L / 200.01L;
inline constexpr Extended kRate103_1 = 1.0L / 103.1L;
inline constexpr Extended kRate103_01 = 1.0L / 103.01L;
// The two open-loop lessons hold their rates as these decimals: the quotients
// would move their temperatures in the last bits.
inline constexpr Extended kRate30_01 = 0.033322225924691765L;          // identification, T1 = 30.01 ticks
inline constexpr Extended kDecimalRate103_01 = 0.009707795359673817L;   // disturbance model, door open
inline constexpr Extended kDecimalRate200_01 = 0.0049997500124993755L;  // disturbance model, door shut again

// Converter N/A: 10/255 V per digital unit, rounded to 39 mV.
inline constexpr Extended kVoltsPerUnit = 0.039L;
// Converter A/N: 255/10 digital units per volt.
inline constexpr Extended kUnitsPerVolt = 25.5L;

// The sensor: temperature = 8 S + 20, in degrees C.
inline constexpr Extended kDegreesPerVolt = 8;
inline constexpr Extended kAmbient = 20;

// The steady rise of the temperature per digital unit of E, in degrees C
// (31 for E = 100).
inline constexpr Extended kRisePerUnit = 0.31L;

}  // namespace t1
