#include "engine/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace rainquill {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// The text as ASCII, cut at the first character that is not ASCII (no number continues
// past it); without the spaces, tabs and line feeds the number rule ignores when asked.
std::string significantAscii(QStringView text, bool dropBlanks)
{
    std::string out;
    out.reserve(std::min<qsizetype>(text.size(), 64));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (dropBlanks && (u == u' ' || u == u'\t' || u == u'\n'))
            continue;
        if (u > 0x7f)
            break;
        out.push_back(char(u));
    }
    return out;
}

double wholeNumber(const std::string &s, std::size_t pos, int radix)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const int d = digitValue(s[pos]);
        if (d >= radix)
            break;
        value = value * radix + d;
    }
    return value;
}

// When from_chars reports a value out of range, decides between overflow and underflow
// from the decimal exponent of the first significant digit.
double outOfRange(const std::string &number, bool negative)
{
    long long exponent = 0;
    std::size_t pos = (number[0] == '+' || number[0] == '-') ? 1 : 0;
    long long leadingZeros = 0;
    long long integerDigits = 0;
    bool significant = false;
    bool afterPoint = false;
    for (; pos < number.size(); ++pos) {
        const char c = number[pos];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c))
            break;
        if (!significant && c == '0') {
            if (afterPoint)
                ++leadingZeros;
            continue;
        }
        significant = true;
        if (!afterPoint)
            ++integerDigits;
    }
    if (pos < number.size()) { // exponent
        ++pos;
        bool negativeExponent = false;
        if (number[pos] == '+' || number[pos] == '-')
            negativeExponent = number[pos++] == '-';
        for (; pos < number.size(); ++pos)
            exponent = std::min(exponent * 10 + (number[pos] - '0'), 1LL << 40);
        if (negativeExponent)
            exponent = -exponent;
    }
    const long long magnitude = exponent + (integerDigits > 0 ? integerDigits : -leadingZeros);
    if (magnitude > 0)
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    return negative ? -0.0 : 0.0;
}


// The number at the start of s, and how many characters of s it takes.
struct Scan
{
    double value = 0;
    std::size_t length = 0;
};

Scan scanNumber(const std::string &s)
{
    if (s.size() >= 2 && s[0] == '&') {
        const int radix = (s[1] == 'H' || s[1] == 'h') ? 16 : (s[1] == 'O' || s[1] == 'o') ? 8 : 0;
        if (radix == 0)
            return {};
        std::size_t end = 2;
        while (end < s.size() && digitValue(s[end]) < radix)
            ++end;
        return {wholeNumber(s, 2, radix), end > 2 ? end : 0};
    }

    // The longest start that forms a number, rewritten for from_chars: no sign, and a D
    // exponent spelled E.
    std::string number;
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        negative = s[pos++] == '-';
    bool anyDigit = false;
    bool point = false;
    for (; pos < s.size(); ++pos) {
        if (isDigit(s[pos])) {
            anyDigit = true;
        } else if (s[pos] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number.push_back(s[pos]);
    }
    if (!anyDigit)
        return {};
    if (pos + 1 < s.size() && (s[pos] == 'E' || s[pos] == 'e' || s[pos] == 'D' || s[pos] == 'd')) {
        std::size_t e = pos + 1;
        std::string exponent = "e";
        if (s[e] == '+' || s[e] == '-')
            exponent.push_back(s[e++]);
        if (e < s.size() && isDigit(s[e])) {
            while (e < s.size() && isDigit(s[e]))
                exponent.push_back(s[e++]);
            number += exponent;
            pos = e;
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return {outOfRange(number, negative), pos};
    return {negative ? -value : value, pos};
}

} // namespace

double LeadingNumber(QStringView text)
{
    return scanNumber(significantAscii(text, true)).value;
}

std::optional<double> EntireNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    const std::string s = significantAscii(trimmed, false);
    if (qsizetype(s.size()) != trimmed.size())
        return std::nullopt; // a character that no number has
    const Scan scan = scanNumber(s);
    if (scan.length == 0 || scan.length != s.size())
        return std::nullopt;
    return scan.value;
}

} // namespace rainquill
