#include "platform/RuntimeError.h"
#include "platform/TextRules.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <limits>

using namespace platform;

namespace {

// Numbers must keep periods under a comma-decimal locale.
class GermanLocale {
public:
    GermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    ~GermanLocale()
    {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
    }
};

int overflowNumber(double value, bool sixteenBit)
{
    try {
        sixteenBit ? cint(value) : clng(value);
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

} // namespace

TEST(Val, ReadsTheLongestNumericPrefix)
{
    EXPECT_DOUBLE_EQ(val("12abc"), 12.0);
    EXPECT_DOUBLE_EQ(val(" 1 2.5"), 12.5);
    EXPECT_DOUBLE_EQ(val("\t-3\n.25 kg"), -3.25);
    EXPECT_DOUBLE_EQ(val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(val("1E-05"), 1e-5);
    EXPECT_DOUBLE_EQ(val("2.5e+2x"), 250.0);
    EXPECT_DOUBLE_EQ(val("1 e 3"), 1000.0);
    EXPECT_DOUBLE_EQ(val("7E"), 7.0);        // exponent without digits is not part of it
    EXPECT_DOUBLE_EQ(val("7e-"), 7.0);
    EXPECT_DOUBLE_EQ(val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(val("+4"), 4.0);
    EXPECT_DOUBLE_EQ(val("1."), 1.0);
    EXPECT_DOUBLE_EQ(val("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(val("- 5"), -5.0);
    EXPECT_DOUBLE_EQ(val("3D2"), 300.0);   // D exponent, as VB reads doubles
}

TEST(Val, TextWithoutANumberIsZero)
{
    EXPECT_EQ(val(""), 0.0);
    EXPECT_EQ(val("abc"), 0.0);
    EXPECT_EQ(val("-"), 0.0);
    EXPECT_EQ(val("."), 0.0);
    EXPECT_EQ(val("\r5"), 0.0);   // a carriage return is not skipped
    EXPECT_EQ(val("1e-400"), 0.0);
}

TEST(Val, HexAndOctalPrefixes)
{
    EXPECT_EQ(val("&H1F"), 31.0);
    EXPECT_EQ(val("&hFFFF"), -1.0);
    EXPECT_EQ(val("&H10000"), 65536.0);
    EXPECT_EQ(val("&O17"), 15.0);
    EXPECT_EQ(val("&Hxyz"), 0.0);
}

TEST(Val, HugeValuesOverflow)
{
    try {
        val("1e400");
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_THROW(val("&H123456789"), RuntimeError);
    // A long digit run still reads (no fixed buffer).
    EXPECT_DOUBLE_EQ(val(QString(300, u'1').prepend("0.")), 0.1111111111111111);
}

TEST(IntegerRounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(cint(2.5), 2);
    EXPECT_EQ(cint(3.5), 4);
    EXPECT_EQ(cint(-2.5), -2);
    EXPECT_EQ(cint(-3.5), -4);
    EXPECT_EQ(cint(2.5000001), 3);
    EXPECT_EQ(cint(0.4999999), 0);
    EXPECT_EQ(clng(1e9 + 0.5), 1000000000);
    EXPECT_EQ(intValue(" 12.5abc"), 12);
}

TEST(IntegerRounding, OutOfRangeIsOverflowError6)
{
    EXPECT_EQ(overflowNumber(40000, true), 6);
    EXPECT_EQ(overflowNumber(32767.5, true), 6);      // rounds to 32768
    EXPECT_EQ(overflowNumber(-32768.5, true), 0);     // rounds to -32768
    EXPECT_EQ(overflowNumber(32767.4, true), 0);
    EXPECT_EQ(overflowNumber(40000, false), 0);
    EXPECT_EQ(overflowNumber(3e9, false), 6);
    EXPECT_EQ(overflowNumber(std::numeric_limits<double>::quiet_NaN(), false), 6);
    EXPECT_EQ(overflowNumber(std::numeric_limits<double>::infinity(), true), 6);
    EXPECT_THROW(csng(1e300), RuntimeError);
}

TEST(RoundTo2, HalvesToEven)
{
    EXPECT_DOUBLE_EQ(roundTo2(0.125), 0.12);
    EXPECT_DOUBLE_EQ(roundTo2(0.375), 0.38);
    EXPECT_DOUBLE_EQ(roundTo2(-1.005), -1.0);   // binary value just below the half
    EXPECT_DOUBLE_EQ(roundTo2(2.3456), 2.35);
    EXPECT_DOUBLE_EQ(roundTo2(1e300), 1e300);
}

TEST(NumberText, SingleHasAtMostSevenSignificantDigits)
{
    EXPECT_EQ(singleText(0.1f), "0.1");
    EXPECT_EQ(singleText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(singleText(-0.5f), "-0.5");
    EXPECT_EQ(cstrSingle(0.1f), ".1");
    EXPECT_EQ(cstrSingle(1.0f / 3.0f), ".3333333");
    EXPECT_EQ(cstrSingle(128.0f / 255.0f), ".5019608");
    EXPECT_EQ(cstrSingle(1.5f), "1.5");
    EXPECT_EQ(cstrSingle(100.0f), "100");
    EXPECT_EQ(cstrSingle(-0.25f), "-.25");
    EXPECT_EQ(cstrSingle(1234567.0f), "1234567");
    EXPECT_EQ(cstrSingle(12345678.0f), "1.234568E+07");
    EXPECT_EQ(cstrSingle(0.00001f), "1E-05");
    EXPECT_EQ(cstrSingle(-0.0f), "0");
}

TEST(NumberText, DoubleHasUpToFifteenDigits)
{
    EXPECT_EQ(cstrDouble(0.1), ".1");
    EXPECT_EQ(doubleText(0.1), "0.1");
    EXPECT_EQ(doubleText(2.0), "2");
    EXPECT_EQ(cstrDouble(1.0 / 3.0), ".333333333333333");
    EXPECT_EQ(cstrDouble(123456789012345.0), "123456789012345");
    EXPECT_EQ(cstrDouble(1e15), "1E+15");
    EXPECT_EQ(cstrDouble(0.0001), ".0001");
    EXPECT_EQ(cstrDouble(-1.5e-7), "-1.5E-07");
}

TEST(NumberText, StrFormPutsABlankBeforeNonNegatives)
{
    EXPECT_EQ(strDouble(0.5), " .5");
    EXPECT_EQ(cstrDouble(0.5), ".5");
    EXPECT_EQ(strDouble(-0.5), "-.5");
    EXPECT_EQ(strSingle(0.1f), " .1");
    EXPECT_EQ(strInteger(0), " 0");
    EXPECT_EQ(strInteger(-7), "-7");
}

TEST(NumberText, PrintAndWriteForms)
{
    EXPECT_EQ(printInteger(3), " 3 ");
    EXPECT_EQ(printInteger(-3), "-3 ");
    EXPECT_EQ(printDouble(1.0), " 1 ");
    EXPECT_EQ(printDouble(0.5), " .5 ");
    EXPECT_EQ(printDouble(-0.25), "-.25 ");
    EXPECT_EQ(printSingle(0.1f), " .1 ");
    EXPECT_EQ(writeText("a b"), "\"a b\"");
    EXPECT_EQ(cstrBoolean(true), "True");
}

TEST(Format, FixedDecimalsPatterns)
{
    EXPECT_EQ(formatDouble(-100, "0.0000"), "-100.0000");
    EXPECT_EQ(formatSingle(128.0f / 255.0f, "0.0000"), "0.5020");
    EXPECT_EQ(formatSingle(0.5f, "0.0000f"), "0.5000f");
    EXPECT_EQ(formatDouble(1.5, "###0.000"), "1.500");
    EXPECT_EQ(formatDouble(12345.6789, "###0.000"), "12345.679");
    EXPECT_EQ(formatDouble(0.00004, "0.0000"), "0.0000");
    EXPECT_EQ(formatDouble(-0.00004, "0.0000"), "0.0000");   // no "-0.0000"
    EXPECT_EQ(formatDouble(0.99996, "0.0000"), "1.0000");
    EXPECT_EQ(formatDouble(9.99996, "0.0000"), "10.0000");
    EXPECT_EQ(formatDouble(0.5, "#.00"), ".50");
    EXPECT_EQ(formatDouble(2.5, "0"), "3");                  // Format rounds halves up
    EXPECT_EQ(formatDouble(0.125, "0.00"), "0.13");
    EXPECT_EQ(formatDouble(1e20, "0.0"), "100000000000000000000.0");
    EXPECT_EQ(formatDouble(3, "0.##"), "3.");
}

TEST(Format, SingleUsesItsSevenDigits)
{
    // 0.1f is 0.100000001490116...: as a Single it is 0.1 exactly.
    EXPECT_EQ(formatSingle(0.1f, "0.000000000"), "0.100000000");
    EXPECT_EQ(formatDouble(static_cast<double>(0.1f), "0.000000000"), "0.100000001");
}

TEST(TextRulesLocale, CommaLocaleStillUsesPeriods)
{
    const GermanLocale german;
    EXPECT_DOUBLE_EQ(val("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(val("2,5"), 2.0);
    EXPECT_EQ(cstrSingle(0.5f), ".5");
    EXPECT_EQ(singleText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(cstrDouble(1234.5), "1234.5");
    EXPECT_EQ(formatDouble(-100, "0.0000"), "-100.0000");
    EXPECT_EQ(formatSingle(128.0f / 255.0f, "0.0000"), "0.5020");
    EXPECT_EQ(printDouble(0.5), " .5 ");
}
