#pragma once

#include <QString>

#include <optional>

// Number rules of the image settings: how the slide interval is shown and read back.
namespace settings {

// Milliseconds as seconds with exactly one decimal ("1.0", "2.5", "30.0"). The tenth is rounded
// half away from zero on the exact decimal value, so 1250 gives "1.3" and 1234 gives "1.2".
QString formatOneDecimal(int ms);

// Milliseconds as seconds in plain decimal without trailing zeros ("1.5", "3", "0.5"): the
// quotient is taken in single precision and shown with up to 7 significant digits.
QString formatPlainSeconds(float ms);

// A number text read in single precision: blanks around the number, a leading sign and "." as
// decimal point are accepted; anything else (empty text, letters, "," or an exponent) is not a
// number, nor is a value beyond the single-precision range.
std::optional<float> singleFromText(const QString& text);

// The slide interval in milliseconds from a seconds text: the number read in single precision,
// times 1000 in single precision, rounded to nearest with ties to even. Nullopt when the
// text is not a number as singleFromText reads it, or the result leaves the 32-bit range. Zero and
// negative intervals are returned: whether they are usable is the caller's call.
std::optional<int> intervalMsFromText(const QString& text);

// The slide interval the auto-play timer is set to: a positive number of milliseconds the timer
// can take, or nullopt, which leaves the timer as it is.
std::optional<int> timerIntervalFromText(const QString& text);

}  // namespace settings
