#pragma once
// Every conversion between numbers and text goes through here, so files and listings look the
// same everywhere. The decimal separator is always '.', whatever the system locale.
//
// Format specifiers: %[-][width][.prec]type
//   d D    integer (a double argument is refused)
//   f F    fixed point, prec decimals (default 2)
//   e E    scientific, prec significant digits (default 15), exponent with a sign and at least
//          three digits: Format("%0.6E", 123.456) == "1.23456E+002"
//   g G    general, prec significant digits (default 15), the shorter of fixed and scientific
//   n N    fixed point with thousands separators
//   s S    text
//   %%     a per cent sign
// Halves are rounded away from zero, as a person rounds a printed decimal.
// Non-finite values print as "NAN", "INF" and "-INF".
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace qav {

struct FormatArg {
    std::variant<long long, double, std::string> v;
    FormatArg(int x) : v(static_cast<long long>(x)) {}
    FormatArg(long x) : v(static_cast<long long>(x)) {}
    FormatArg(long long x) : v(x) {}
    FormatArg(unsigned x) : v(static_cast<long long>(x)) {}
    FormatArg(unsigned long x) : v(static_cast<long long>(x)) {}
    FormatArg(double x) : v(x) {}
    FormatArg(float x) : v(static_cast<double>(x)) {}
    FormatArg(const char* s) : v(std::string(s)) {}
    FormatArg(std::string s) : v(std::move(s)) {}
    FormatArg(std::string_view s) : v(std::string(s)) {}
};

// Throws std::invalid_argument on a malformed format or a missing or mismatched argument:
// those are programming faults, never user input.
std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args);

// Blanks in front of s until it is n characters long (never shortens).
std::string PAD_LEFT(int n, const std::string& s);
// Blanks after s until it is n characters long (never shortens).
std::string PAD_RIGHT(int n, const std::string& s);

// Strict conversions. Leading and trailing blanks and control characters are allowed; anything
// else that is not a number throws ConversionError with
//   "'<text>' is not a valid floating point value"  /  "'<text>' is not a valid integer value".
double ToFloat(const std::string& text);
int ToInt(const std::string& text);
bool TryToFloat(const std::string& text, double& out);
bool TryToInt(const std::string& text, int& out);

// Round to nearest, halves to even (round(6.25 * 1) etc.), as a double.
double RoundHalfEven(double x);

// The one road from a double to an integer. Each throws NumericError when x is not finite or
// the result does not fit an int, so no undefined conversion can happen anywhere.
int Round(double x);  // halves to even
int Trunc(double x);
int Ceil(double x);
int Floor(double x);
// A load fraction with its decimals cut, never rounded up: 0.9997 reads "0.999", so a load the
// section does not carry never reads as 1. Only the representation's own noise (a relative
// 1e-12) is let round up; a value that is no finite number reads as Format would show it.
std::string LoadFractionText(double lf, int decimals = 3);
bool FitsInt(double x);  // finite and within the int range once rounded

// Delphi-like trim: removes leading and trailing characters <= ' '.
std::string Trim(const std::string& s);

// An angle in degrees as given: up to six decimals, without trailing zeros ("22.5", "45").
std::string AngleText(double deg);

}  // namespace qav
