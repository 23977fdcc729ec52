#include "platform/TextRules.h"

#include "platform/RuntimeError.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace platform {

namespace {

bool isSkippedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "&H..." / "&O...": at most 8 hex or 11 octal digits, read as VB does: a
// value that fits in 16 bits wraps to a signed 16-bit number, else to 32 bits.
double radixValue(const QString& text, qsizetype pos)
{
    const QChar kind = text.at(pos + 1).toUpper();
    const int radix = kind == u'H' ? 16 : 8;
    quint64 value = 0;
    int digits = 0;
    for (qsizetype i = pos + 2; i < text.size(); ++i) {
        const char16_t c = text.at(i).toUpper().unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0 || d >= radix)
            break;
        value = value * static_cast<quint64>(radix) + static_cast<quint64>(d);
        if (++digits > 11 || value > 0xFFFFFFFFull)
            throw RuntimeError(err::Overflow);
    }
    if (value <= 0xFFFF)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

// Rough power of ten of a parsed mantissa and exponent, used only to tell an
// overflow from an underflow when the conversion reports "out of range".
long long decimalMagnitude(const std::string& mantissa, long long exponent)
{
    const auto point = mantissa.find('.');
    const std::string whole = mantissa.substr(0, point);
    const auto firstNonZero = whole.find_first_not_of("+-0");
    if (firstNonZero != std::string::npos)
        return static_cast<long long>(whole.size() - firstNonZero) + exponent;
    if (point == std::string::npos)
        return exponent;
    const auto firstFraction = mantissa.find_first_not_of('0', point + 1);
    return -static_cast<long long>(firstFraction - point) + exponent;
}

} // namespace

double val(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && isSkippedBlank(text.at(i)))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text.at(i) == u'&'
        && (text.at(i + 1).toUpper() == u'H' || text.at(i + 1).toUpper() == u'O'))
        return radixValue(text, i);

    std::string mantissa;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        if (text.at(i) == u'-')
            mantissa += '-';
        ++i;
    }
    int digitCount = 0;
    const auto takeDigits = [&] {
        for (skipBlanks(); i < n && isDigit(text.at(i)); skipBlanks()) {
            mantissa += static_cast<char>(text.at(i).unicode());
            ++digitCount;
            ++i;
        }
    };
    takeDigits();
    if (i < n && text.at(i) == u'.') {
        mantissa += '.';
        ++i;
        takeDigits();
    }
    if (digitCount == 0)
        return 0.0;

    // Exponent: E or D, optional sign, at least one digit; otherwise ignored.
    long long exponent = 0;
    std::string exponentText;
    skipBlanks();
    if (i < n && (text.at(i).toUpper() == u'E' || text.at(i).toUpper() == u'D')) {
        qsizetype j = i + 1;
        const auto skipAt = [&] {
            while (j < n && isSkippedBlank(text.at(j)))
                ++j;
        };
        skipAt();
        bool negative = false;
        if (j < n && (text.at(j) == u'-' || text.at(j) == u'+')) {
            negative = text.at(j) == u'-';
            ++j;
        }
        std::string digits;
        for (skipAt(); j < n && isDigit(text.at(j)); skipAt()) {
            digits += static_cast<char>(text.at(j).unicode());
            exponent = std::min(exponent * 10 + (text.at(j).unicode() - u'0'), 1000000LL);
            ++j;
        }
        if (!digits.empty()) {
            exponentText.reserve(digits.size() + 2);
            exponentText.push_back('e');
            if (negative)
                exponentText.push_back('-');
            exponentText.append(digits);
            if (negative)
                exponent = -exponent;
        }
    }

    std::string number = mantissa;
    number.append(exponentText);
    const char* first = number.data();
    if (*first == '-')
        ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (decimalMagnitude(mantissa, exponent) < 0)
            return 0.0;
        throw RuntimeError(err::Overflow);
    }
    if (result.ec != std::errc())
        return 0.0;
    return mantissa.front() == '-' ? -value : value;
}

namespace {

double roundToEvenInteger(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

template <class Int>
Int roundChecked(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError(err::Overflow);
    const double rounded = roundToEvenInteger(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw RuntimeError(err::Overflow);
    return static_cast<Int>(rounded);
}

} // namespace

qint16 cint(double value)
{
    return roundChecked<qint16>(value);
}

qint32 clng(double value)
{
    return roundChecked<qint32>(value);
}

float csng(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        throw RuntimeError(err::Overflow);
    return static_cast<float>(value);
}

double roundHalfEven(double value, int decimals)
{
    if (decimals < 0 || decimals > 22)
        throw RuntimeError(err::InvalidProcedureCall);
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0)   // 2^52: no fraction left
        return value;
    return roundToEvenInteger(scaled) / scale;
}

namespace {

// VB's text for a number: up to `precision` significant digits, trailing
// zeros dropped, "E+xx"/"E-xx" outside the plain range, no zero before the point.
QString numberText(double value, int precision, bool leadingZero = false)
{
    if (std::isnan(value))
        return QStringLiteral("-1.#IND");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1.#INF") : QStringLiteral("-1.#INF");
    if (value == 0.0)
        return QStringLiteral("0");
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, precision);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(u'e', u'E');
    if (leadingZero)
        return text;
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

QString withSignBlank(const QString& text)
{
    return text.startsWith(u'-') ? text : u' ' + text;
}

} // namespace

QString singleText(float value)
{
    return numberText(static_cast<double>(value), 7, true);
}

QString doubleText(double value)
{
    return numberText(value, 15, true);
}

QString cstrSingle(float value)
{
    return numberText(static_cast<double>(value), 7);
}

QString cstrDouble(double value)
{
    return numberText(value, 15);
}

QString cstrInteger(qint64 value)
{
    return QString::number(value);
}

QString strSingle(float value)
{
    return withSignBlank(cstrSingle(value));
}

QString strDouble(double value)
{
    return withSignBlank(cstrDouble(value));
}

QString strInteger(qint64 value)
{
    return withSignBlank(cstrInteger(value));
}

QString cstrBoolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString printInteger(qint64 value)
{
    return strInteger(value) + u' ';
}

QString printSingle(float value)
{
    return strSingle(value) + u' ';
}

QString printDouble(double value)
{
    return strDouble(value) + u' ';
}

QString writeText(const QString& text)
{
    return u'"' + text + u'"';
}

namespace {

struct NumberPattern {
    QString prefix;
    QString suffix;
    int integerZeros = 0;     // '0' before the point: minimum integer digits
    int minDecimals = 0;      // '0' after the point
    int maxDecimals = 0;      // '0' and '#' after the point
    bool hasPoint = false;
    bool hasDigits = false;
};

// Literal text of a pattern piece: "\x" is x, "..." is taken as written.
QString literalText(const QString& piece)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QChar c = piece.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\' && !quoted && i + 1 < piece.size())
            out += piece.at(++i);
        else
            out += c;
    }
    return out;
}

NumberPattern parsePattern(const QString& pattern)
{
    NumberPattern p;
    const auto isNumberChar = [](QChar c) {
        return c == u'0' || c == u'#' || c == u'.' || c == u',';
    };
    qsizetype start = 0;
    bool quoted = false;
    for (; start < pattern.size(); ++start) {
        const QChar c = pattern.at(start);
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\' && !quoted)
            ++start;
        else if (!quoted && (c == u'0' || c == u'#' || c == u'.'))
            break;
    }
    qsizetype end = start;
    while (end < pattern.size() && isNumberChar(pattern.at(end))) {
        const QChar c = pattern.at(end);
        if (c == u'.') {
            p.hasPoint = true;
        } else if (c == u'0' || c == u'#') {
            p.hasDigits = true;
            if (p.hasPoint) {
                ++p.maxDecimals;
                if (c == u'0')
                    p.minDecimals = p.maxDecimals;
            } else if (c == u'0') {
                ++p.integerZeros;
            }
        }
        ++end;
    }
    p.prefix = literalText(pattern.left(start));
    p.suffix = literalText(pattern.mid(end));
    return p;
}

// A number as decimal digits: value = 0.digits x 10^pointPos.
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};

DecimalDigits toDecimalDigits(double magnitude, int significant)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, significant - 1);
    const std::string text(buffer.data(), result.ptr);
    const auto e = text.find('e');
    DecimalDigits d;
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    d.pointPos = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Round to `decimals` places after the point, halves away from zero.
void roundDigits(DecimalDigits& d, int decimals)
{
    const int keep = d.pointPos + decimals;
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.assign(1, '0');
        d.pointPos = 1;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (d.digits[static_cast<std::size_t>(i)] == '9') {
                d.digits[static_cast<std::size_t>(i)] = '0';
            } else {
                ++d.digits[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    if (d.digits.empty()) {
        d.digits.assign(1, '0');
        d.pointPos = 1;
    }
}

QString formatWithPrecision(double value, const QString& pattern, int significant)
{
    const NumberPattern p = parsePattern(pattern);
    if (!p.hasDigits || !std::isfinite(value))
        return significant <= 7 ? cstrSingle(static_cast<float>(value)) : cstrDouble(value);

    DecimalDigits d = value == 0.0 ? DecimalDigits{"0", 1}
                                   : toDecimalDigits(std::fabs(value), significant);
    roundDigits(d, p.maxDecimals);

    QString whole;
    QString fraction;
    for (int i = 0; i < static_cast<int>(d.digits.size()); ++i) {
        const QChar c = QChar(d.digits[static_cast<std::size_t>(i)]);
        if (i < d.pointPos)
            whole += c;
        else
            fraction += c;
    }
    if (d.pointPos > static_cast<int>(d.digits.size()))
        whole += QString(d.pointPos - static_cast<int>(d.digits.size()), u'0');
    if (d.pointPos < 0)
        fraction.prepend(QString(-d.pointPos, u'0'));
    fraction = fraction.left(p.maxDecimals);
    fraction += QString(p.maxDecimals - fraction.size(), u'0');
    while (fraction.size() > p.minDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() < p.integerZeros)
        whole.prepend(QString(p.integerZeros - whole.size(), u'0'));

    const QString shown = whole + fraction;
    const bool isZero = shown.count(u'0') == shown.size();
    const bool negative = value < 0.0 && !isZero;
    QString text = negative ? QStringLiteral("-") : QString();
    text += p.prefix + whole;
    if (p.hasPoint)
        text += u'.';
    text += fraction + p.suffix;
    return text;
}

} // namespace

QString formatDouble(double value, const QString& pattern)
{
    return formatWithPrecision(value, pattern, 15);
}

QString formatSingle(float value, const QString& pattern)
{
    return formatWithPrecision(static_cast<double>(value), pattern, 7);
}

} // namespace platform
