#pragma once
// The text and number rules every tool shares: reading numbers from texts,
// rounding to integers, and the number texts written into text boxes, INI
// values and text files. Always a period as decimal separator, whatever the
// locale.

#include <QString>
#include <QtGlobal>

namespace platform {

// Numeric value of a text (VB `Val`): the longest numeric prefix, with blanks,
// tabs and line feeds skipped anywhere in it; "12abc" is 12, " 1 2.5" is 12.5,
// ".5" and "1E-05" read, a text starting with no number is 0. "&H1F" and
// "&O17" read as hexadecimal and octal integers. Throws RuntimeError 6 when
// the value is beyond the range of a double.
double val(const QString& text);

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4). Throw RuntimeError 6 "Overflow" out of range or for NaN.
qint16 cint(double value);   // VB CInt: 16-bit
qint32 clng(double value);   // VB CLng: 32-bit
// Narrow to a 32-bit float (VB CSng); RuntimeError 6 beyond its range.
float csng(double value);

// Integer field from a text box: cint(val(text)) / clng(val(text)).
inline qint16 intValue(const QString& text) { return cint(val(text)); }
inline qint32 longValue(const QString& text) { return clng(val(text)); }

// Round to `decimals` places, halves to even (VB Round); roundTo2(2.345) is 2.34.
double roundHalfEven(double value, int decimals);
inline double roundTo2(double value) { return roundHalfEven(value, 2); }

// Shortest decimal text of a number: 7 significant digits at most for a
// 32-bit float, 15 for a double, exponent form "1E-05" / "1E+15" outside the
// plain range. singleText(0.1f) == "0.1", singleText(1.0f / 3) == "0.3333333".
QString singleText(float value);
QString doubleText(double value);

// The same without the zero before the point, as VB writes numbers:
//   "cstr" form (VB CStr): no blank:           cstrDouble(0.5) == ".5"
//   "str" form (VB Str): blank before >= 0:     strDouble(0.5)  == " .5"
QString cstrSingle(float value);
QString cstrDouble(double value);
QString cstrInteger(qint64 value);
QString strSingle(float value);
QString strDouble(double value);
QString strInteger(qint64 value);
// "True" / "False" as VB writes Booleans.
QString cstrBoolean(bool value);

// Print-to-file form (VB `Print #`) of one number: the str form followed by one
// blank. printInteger(3) == " 3 ", printDouble(-0.25) == "-.25 ".
QString printInteger(qint64 value);
QString printSingle(float value);
QString printDouble(double value);

// Write-to-file form (VB `Write #`): texts between double quotes, numbers in
// their cstr form, items separated by commas by the caller.
QString writeText(const QString& text);

// Number through a format pattern of '0' (digit always shown) and '#' (digit
// shown when significant) with an optional '.', plus literal text before and
// after: "0.0000", "0.0000f", "###0.000". Halves round away from zero as VB's
// Format does; the decimal separator is always a period. formatSingle first
// reduces the value to its 7 significant digits, as VB formats a Single.
QString formatDouble(double value, const QString& pattern);
QString formatSingle(float value, const QString& pattern);

} // namespace platform
