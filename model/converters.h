#pragma once

namespace t1::model {

// The 8-bit converters span 0..255 digits over 0..10 V.
inline constexpr double kFullScaleDigits = 255;
inline constexpr double kFullScaleVolts = 10;
inline constexpr double kDigitsPerVolt = kFullScaleDigits / kFullScaleVolts;

// The sensor's line: temperature = 8 S + 20.
inline constexpr double kCelsiusPerVolt = 8;
inline constexpr double kAmbientCelsius = 20;

// A/N: X from S, clamped to 0..255 and, quantised, rounded to a whole digit.
double toDigits(double s, bool quantised);

// The N/A converter's register: the command clamped to 0..255 (the oven has
// no cooling, so never below 0 V) and, quantised, rounded to a whole digit.
double outputRegister(double command, bool quantised);

// U in volts for a register value.
double toVolts(double epu);

double temperature(double s);

// The digital set point E in degrees Celsius.
double setPointCelsius(double e);

}  // namespace t1::model
