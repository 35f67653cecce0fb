#include "draw/engine/DrawCount.h"

#include "draw/engine/DrawLimits.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace sortilo {

namespace {

// Large enough that any longer exponent over- or underflows a double anyway.
constexpr int ExponentLimit = 99999;

// A Chinese input method types digits, signs and letters in their full-width forms ("３",
// "１０"): they read as the ASCII characters they stand for.
char16_t asciiForm(QChar c) {
    const char16_t u = c.unicode();
    return u >= 0xFF01 && u <= 0xFF5E ? char16_t(u - 0xFEE0) : u;
}

// Walks the text one character at a time, stepping over blanks wherever they stand. Other
// characters outside ASCII end the number; letters are compared in lower case.
class NumberText {
public:
    explicit NumberText(QStringView text) : text_(text) {}

    char peek() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        if (pos_ >= text_.size() || asciiForm(text_[pos_]) >= 0x80) {
            return '\0';
        }
        const char c = static_cast<char>(asciiForm(text_[pos_]));
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    void advance() { ++pos_; }

private:
    static bool isBlank(QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
               c == QLatin1Char('\r') || c == QChar(0x3000);  // the ideographic space
    }

    QStringView text_;
    qsizetype pos_ = 0;
};

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    }
    return value < base ? value : -1;
}

// After "&": "h" and hex digits, or "o" and octal digits.
double readWholeNumber(NumberText& in) {
    const char kind = in.peek();
    if (kind != 'h' && kind != 'o') {
        return 0;
    }
    in.advance();
    const int base = kind == 'h' ? 16 : 8;
    double value = 0;  // exact up to 2^53, far beyond any count
    for (int d = digitValue(in.peek(), base); d >= 0; d = digitValue(in.peek(), base)) {
        value = value * base + d;
        in.advance();
    }
    return value;
}

// Appends digits to text; true when there was at least one.
bool takeDigits(NumberText& in, std::string& text) {
    bool any = false;
    for (char c = in.peek(); c >= '0' && c <= '9'; c = in.peek()) {
        text += c;
        any = true;
        in.advance();
    }
    return any;
}

int readExponent(NumberText& in) {
    int sign = 1;
    if (in.peek() == '+' || in.peek() == '-') {
        sign = in.peek() == '-' ? -1 : 1;
        in.advance();
    }
    int exponent = 0;
    for (char c = in.peek(); c >= '0' && c <= '9'; c = in.peek()) {
        exponent = std::min(exponent * 10 + (c - '0'), ExponentLimit);
        in.advance();
    }
    return sign * exponent;
}

double readDecimal(NumberText& in) {
    std::string text = "0";
    if (in.peek() == '+' || in.peek() == '-') {
        if (in.peek() == '-') {
            text.insert(0, 1, '-');
        }
        in.advance();
    }
    bool any = takeDigits(in, text);
    text += '.';
    if (in.peek() == '.') {
        in.advance();
        any = takeDigits(in, text) || any;
    }
    if (!any) {
        return 0;
    }
    int exponent = 0;
    if (in.peek() == 'e' || in.peek() == 'd') {
        in.advance();
        exponent = readExponent(in);
    }
    text += 'e' + std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too far out for a double: huge with a positive exponent, next to nothing otherwise.
        const bool negative = text[0] == '-';
        value = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        value = negative ? -value : value;
    }
    return value;
}

}  // namespace

double readLeadingNumber(QStringView text) {
    NumberText in(text);
    if (in.peek() == '&') {
        in.advance();
        return readWholeNumber(in);
    }
    return readDecimal(in);
}

double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for every double
    if (fraction > 0.5) {
        return below + 1;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

DrawCountReading readDrawCount(QStringView text) {
    DrawCountReading reading;
    reading.number = readLeadingNumber(text);
    if (reading.number < 1) {
        reading.verdict = DrawCountReading::Verdict::BelowOne;
        return reading;
    }
    const double rounded = roundHalfEven(reading.number);
    // Also true of a number too large for an int, which the comparison keeps from converting.
    if (!(rounded <= MaxGroupSize)) {
        reading.verdict = DrawCountReading::Verdict::TooLarge;
        return reading;
    }
    reading.verdict = DrawCountReading::Verdict::Count;
    reading.count = static_cast<int>(rounded);
    return reading;
}

}  // namespace sortilo
