#include "interval.h"

#include "platform/timer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace settings {

QString formatOneDecimal(int ms) {
    // Integer arithmetic keeps the rounding on the decimal value, where a binary quotient
    // such as 1.35 would fall just below the tie.
    const long long magnitude = std::llabs(static_cast<long long>(ms));
    const long long tenths = (magnitude + 50) / 100;
    const QString digits = QString::number(tenths / 10) + u'.' + QString::number(tenths % 10);
    return (ms < 0 && tenths != 0) ? u'-' + digits : digits;
}

QString formatPlainSeconds(float ms) {
    const float seconds = ms / 1000.0f;
    return QString::number(static_cast<double>(seconds), 'g', 7);
}

namespace {

// Digits with at most one ".", and at least one digit.
bool isPlainDecimal(const std::string& s) {
    bool digit = false;
    bool point = false;
    for (const char c : s) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

std::optional<float> singleFromText(const QString& text) {
    std::string s = text.trimmed().toStdString();
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.erase(0, 1);
    }
    if (!isPlainDecimal(s)) return std::nullopt;

    float value = 0.0f;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> intervalMsFromText(const QString& text) {
    const std::optional<float> seconds = singleFromText(text);
    if (!seconds) return std::nullopt;
    // The product stays in single precision, so 0.0005 s is exactly half a millisecond and rounds
    // to even (0); nearbyint under the default rounding mode is ties-to-even.
    const float product = *seconds * 1000.0f;
    const float ms = std::nearbyint(product);
    if (!std::isfinite(ms) || ms < -2147483648.0f || ms >= 2147483648.0f) return std::nullopt;
    return static_cast<int>(ms);
}

std::optional<int> timerIntervalFromText(const QString& text) {
    const std::optional<int> ms = intervalMsFromText(text);
    if (!ms || *ms <= 0 || *ms > platform::Timer::kMaxInterval) return std::nullopt;
    return ms;
}

}  // namespace settings
