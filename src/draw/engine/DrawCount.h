#pragma once

#include <QStringView>

namespace sortilo {

// The draw count as Start reads it from the draw-count box.
struct DrawCountReading {
    enum class Verdict {
        Count,     // at least 1, and no more than one group holds
        BelowOne,  // the number read is less than 1 (before rounding)
        TooLarge,  // rounds to more names than one group holds
    };
    Verdict verdict = Verdict::BelowOne;
    int count = 0;      // the rounded count; meaningful for Verdict::Count only
    double number = 0;  // the number read from the start of the text, before rounding
};

// Reads the number at the start of the text, leniently, as the operator may type it: blanks are
// skipped wherever they stand; then an optional sign, digits with at most one decimal point and an
// optional exponent (E or D, optional sign, digits); &H and &O read a hexadecimal or octal whole
// number. Reading stops at the first character that cannot continue the number; a text that does
// not start with a number reads as 0.
double readLeadingNumber(QStringView text);

// Rounds to the nearest whole number, a value exactly halfway going to the even one.
double roundHalfEven(double value);

// The draw count of the text: the number read, checked against 1, then rounded half to even.
DrawCountReading readDrawCount(QStringView text);

}  // namespace sortilo
