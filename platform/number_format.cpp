#include "number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace velmora {

namespace {

struct Decimal {
    bool negative = false;
    std::string whole; // at least one digit
    std::string fraction;
};

// The number's decimal text with 15 significant digits, rounded half away from zero to `decimals`.
// Fifteen digits read an amount as it was typed: 1.25 * 1.18 is 1.475, although the double
// lies just below it (its shortest exact text is 1.4749999999999999).
Decimal roundedDecimal(double value, int decimals)
{
    constexpr int kDigits = 15;
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, kDigits - 1);
    Decimal d;
    d.negative = std::signbit(value);
    // "d.dddddddddddddde+XX": the mantissa's digits and where the decimal point goes.
    std::string mantissa(1, '0');
    int wholeDigits = 1;
    if (ec == std::errc()) {
        char* const e = std::find(buffer, end, 'e');
        mantissa.assign(1, buffer[0]);
        mantissa.append(buffer + 2, e);
        // The exponent ends where the written text ends: the buffer holds no terminating zero.
        const char* digits = e + 1;
        const bool negativeExponent = digits != end && *digits == '-';
        if (digits != end && (*digits == '+' || *digits == '-'))
            ++digits;
        int exponent = 0;
        std::from_chars(digits, static_cast<const char*>(end), exponent);
        wholeDigits = (negativeExponent ? -exponent : exponent) + 1;
    }
    if (wholeDigits <= 0) {
        d.whole.assign(1, '0');
        d.fraction.assign(-wholeDigits, '0');
        d.fraction.append(mantissa);
    } else if (wholeDigits >= static_cast<int>(mantissa.size())) {
        d.whole = mantissa;
        d.whole.append(wholeDigits - mantissa.size(), '0');
    } else {
        d.whole.assign(mantissa, 0, wholeDigits);
        d.fraction.assign(mantissa, wholeDigits);
    }

    if (static_cast<int>(d.fraction.size()) > decimals) {
        const bool up = d.fraction[decimals] >= '5';
        d.fraction.resize(decimals);
        if (up) {
            std::string digits = d.whole + d.fraction;
            int i = static_cast<int>(digits.size()) - 1;
            for (; i >= 0; --i) {
                if (digits[i] == '9') {
                    digits[i] = '0';
                } else {
                    ++digits[i];
                    break;
                }
            }
            if (i < 0)
                digits.insert(digits.begin(), '1');
            d.whole = digits.substr(0, digits.size() - decimals);
            d.fraction = digits.substr(digits.size() - decimals);
        }
    }
    d.fraction.resize(decimals, '0');
    if (d.whole.find_first_not_of('0') == std::string::npos && d.fraction.find_first_not_of('0') == std::string::npos)
        d.negative = false; // no "-0,00"
    return d;
}

} // namespace

QString formatNumber(double value, const QString& pattern, const QLocale& locale)
{
    if (!std::isfinite(value))
        return locale.toString(value);
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    const QString fractionPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int maxDecimals =
        static_cast<int>(fractionPart.count(QLatin1Char('0')) + fractionPart.count(QLatin1Char('#')));
    const int minDecimals = static_cast<int>(fractionPart.count(QLatin1Char('0')));
    const int minWhole = static_cast<int>(integerPart.count(QLatin1Char('0')));
    const bool grouped = integerPart.contains(QLatin1Char(','));

    Decimal d = roundedDecimal(value, maxDecimals);
    while (static_cast<int>(d.fraction.size()) > minDecimals && d.fraction.back() == '0')
        d.fraction.pop_back();

    std::string whole = d.whole;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (static_cast<int>(whole.size()) < minWhole)
        whole.insert(0, minWhole - whole.size(), '0');

    QString out;
    if (d.negative)
        out += locale.negativeSign();
    const QString group = locale.groupSeparator();
    for (size_t i = 0; i < whole.size(); ++i) {
        if (grouped && i > 0 && (whole.size() - i) % 3 == 0)
            out += group;
        out += QLatin1Char(whole[i]);
    }
    if (!d.fraction.empty()) {
        out += locale.decimalPoint();
        out += QString::fromStdString(d.fraction);
    }
    return out;
}

double IkiHaneYuvarla(double value)
{
    if (!std::isfinite(value))
        return value;
    const Decimal d = roundedDecimal(value, 2);
    const std::string text = (d.negative ? "-" : "") + d.whole + "." + d.fraction;
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

} // namespace velmora
