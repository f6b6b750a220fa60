#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/errors.h"

namespace qav {

namespace {

// Adds one unit to the last digit of a string of decimal digits; returns true when the carry
// runs out of the front ("999" -> "000", true).
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '9') {
            *it = '0';
        } else {
            ++*it;
            return false;
        }
    }
    return true;
}

std::string nonFinite(double x) {
    if (std::isnan(x)) return "NAN";
    return x < 0 ? "-INF" : "INF";
}

bool allZeroDigits(const std::string& s) {
    for (char c : s)
        if (c >= '1' && c <= '9') return false;
    return true;
}

// |x| in fixed point with prec decimals, halves away from zero, written into out (which it
// replaces). Files and listings print numbers by the thousand, so the digits are rounded in
// place in one buffer rather than through a chain of temporary strings.
void fixedAbs(double ax, int prec, std::string& out) {
    // Print well past the wanted precision, then round that decimal text ourselves. The spare
    // byte in front takes a carry digit ("999.5" -> "1000").
    const int extra = 20;
    const std::size_t need = static_cast<std::size_t>(330 + prec + extra);
    char small[400];
    std::vector<char> large;
    char* buf = small;
    if (need + 1 > sizeof small) {
        large.resize(need + 1);
        buf = large.data();
    }
    char* const text = buf + 1;
    std::snprintf(text, need, "%.*f", prec + extra, ax);
    char* const dot = std::strchr(text, '.');
    char* const last = dot + prec;  // the last digit kept ('.' itself when prec is 0)
    char* first = text;
    if (dot[prec + 1] >= '5') {
        bool carry = true;
        for (char* d = last; carry && d >= text; --d) {
            if (*d == '.') continue;
            carry = *d == '9';
            *d = carry ? '0' : static_cast<char>(*d + 1);
        }
        if (carry) *--first = '1';
    }
    out.assign(first, prec > 0 ? last + 1 : last);
}

std::string groupThousands(const std::string& fixed) {
    const auto dot = fixed.find('.');
    std::string intPart = fixed.substr(0, dot);
    std::string rest = dot == std::string::npos ? "" : fixed.substr(dot);
    std::string grouped;
    const int n = static_cast<int>(intPart.size());
    for (int i = 0; i < n; ++i) {
        grouped += intPart[static_cast<std::size_t>(i)];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) grouped += ',';
    }
    return grouped + rest;
}

// |x| as mantissa digits (prec significant digits, halves away from zero) and a decimal exponent.
void scientificDigits(double ax, int prec, std::string& digits, int& exponent) {
    if (ax == 0) {
        digits.assign(static_cast<std::size_t>(prec), '0');
        exponent = 0;
        return;
    }
    const int extra = 20;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*e", prec - 1 + extra, ax);
    std::string s(buf);
    const auto e = s.find('e');
    exponent = std::atoi(s.c_str() + e + 1);
    std::string all;
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.') all += s[i];
    digits = all.substr(0, static_cast<std::size_t>(prec));
    if (all[static_cast<std::size_t>(prec)] >= '5' && incrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
    }
}

std::string exponentText(int exponent, int minDigits) {
    std::string e = std::to_string(std::abs(exponent));
    while (static_cast<int>(e.size()) < minDigits) e.insert(e.begin(), '0');
    return std::string("E") + (exponent < 0 ? "-" : "+") + e;
}

std::string scientific(double x, int prec) {
    if (!std::isfinite(x)) return nonFinite(x);
    if (prec < 1) prec = 1;
    std::string digits;
    int exponent = 0;
    scientificDigits(std::fabs(x), prec, digits, exponent);
    std::string out = digits.substr(0, 1);
    if (prec > 1) out.append(1, '.').append(digits.substr(1));
    out += exponentText(exponent, 3);
    const bool negative = std::signbit(x) && !allZeroDigits(digits);
    return negative ? std::string(1, '-').append(out) : out;
}

std::string fixed(double x, int prec, bool thousands) {
    if (!std::isfinite(x)) return nonFinite(x);
    std::string body;
    fixedAbs(std::fabs(x), prec, body);
    const bool negative = std::signbit(x) && !allZeroDigits(body);
    if (thousands) body = groupThousands(body);
    if (negative) body.insert(body.begin(), '-');
    return body;
}

std::string general(double x, int prec) {
    if (!std::isfinite(x)) return nonFinite(x);
    if (prec < 1 || prec > 18) prec = 15;
    if (x == 0) return "0";
    std::string digits;
    int exponent = 0;
    scientificDigits(std::fabs(x), prec, digits, exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string body;
    if (exponent >= prec || exponent < -5) {
        body = digits.substr(0, 1);
        if (digits.size() > 1) body.append(1, '.').append(digits.substr(1));
        body += exponentText(exponent, 2);
    } else if (exponent >= 0) {
        std::string d = digits;
        while (static_cast<int>(d.size()) < exponent + 1) d += '0';
        body = d.substr(0, static_cast<std::size_t>(exponent + 1));
        if (static_cast<int>(d.size()) > exponent + 1)
            body.append(1, '.').append(d.substr(static_cast<std::size_t>(exponent + 1)));
    } else {
        body =
            std::string("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    }
    return std::signbit(x) ? std::string(1, '-').append(body) : body;
}

[[noreturn]] void badFormat(std::string_view fmt, const char* why) {
    throw std::invalid_argument(std::string("Format(\"") + std::string(fmt) + "\"): " + why);
}

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(fmt.size() + 16 * args.size());
    auto next = args.begin();
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        const char c = fmt[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= fmt.size()) badFormat(fmt, "ends in '%'");
        if (fmt[i] == '%') {
            out += '%';
            continue;
        }
        bool left = false;
        if (fmt[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9')
            width = width * 10 + (fmt[i++] - '0');
        int prec = -1;
        if (i < fmt.size() && fmt[i] == '.') {
            prec = 0;
            ++i;
            while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9')
                prec = prec * 10 + (fmt[i++] - '0');
        }
        if (i >= fmt.size()) badFormat(fmt, "no conversion type");
        if (next == args.end()) badFormat(fmt, "too few arguments");
        const FormatArg& arg = *next++;
        const char type = static_cast<char>(fmt[i] | 0x20);  // lower case
        std::string text;
        auto number = [&]() -> double {
            if (const auto* d = std::get_if<double>(&arg.v)) return *d;
            if (const auto* n = std::get_if<long long>(&arg.v)) return static_cast<double>(*n);
            badFormat(fmt, "text given for a number");
        };
        switch (type) {
            case 'd': {
                const auto* n = std::get_if<long long>(&arg.v);
                if (!n) badFormat(fmt, "%d needs an integer");
                text = std::to_string(*n < 0 ? -*n : *n);
                if (prec > 0)
                    while (static_cast<int>(text.size()) < prec) text.insert(text.begin(), '0');
                if (*n < 0) text.insert(text.begin(), '-');
                break;
            }
            case 'f':
                text = fixed(number(), prec < 0 ? 2 : prec, false);
                break;
            case 'n':
                text = fixed(number(), prec < 0 ? 2 : prec, true);
                break;
            case 'e':
                text = scientific(number(), prec < 0 ? 15 : prec);
                break;
            case 'g':
                text = general(number(), prec < 0 ? 15 : prec);
                break;
            case 's': {
                const auto* s = std::get_if<std::string>(&arg.v);
                if (!s) badFormat(fmt, "%s needs a text");
                text = prec >= 0 ? s->substr(0, static_cast<std::size_t>(prec)) : *s;
                break;
            }
            default:
                badFormat(fmt, "unknown conversion type");
        }
        if (static_cast<int>(text.size()) < width)
            text = left ? PAD_RIGHT(width, text) : PAD_LEFT(width, text);
        out += text;
    }
    if (next != args.end()) badFormat(fmt, "too many arguments");
    return out;
}

std::string PAD_LEFT(int n, const std::string& s) {
    if (n <= static_cast<int>(s.size())) return s;
    return std::string(static_cast<std::size_t>(n) - s.size(), ' ') + s;
}

std::string PAD_RIGHT(int n, const std::string& s) {
    if (n <= static_cast<int>(s.size())) return s;
    return s + std::string(static_cast<std::size_t>(n) - s.size(), ' ');
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

bool TryToFloat(const std::string& text, double& out) {
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    // digits [. digits] | . digits, then an optional exponent; nothing else.
    std::size_t j = i, mantissaDigits = 0;
    while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j, ++mantissaDigits;
    if (j < t.size() && t[j] == '.') {
        ++j;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (j < t.size() && (t[j] == 'e' || t[j] == 'E')) {
        ++j;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        std::size_t expDigits = 0;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (j != t.size()) return false;
    double v = 0;
    const auto r = std::from_chars(t.data() + i, t.data() + t.size(), v);
    if (r.ptr != t.data() + t.size()) {
        // from_chars refuses "5." in some library versions and reports range errors; a
        // too-small number is zero, a too-large one is not a value.
        if (r.ec == std::errc::result_out_of_range) {
            const auto e = t.find_first_of("eE");
            if (e == std::string::npos || t.find('-', e) == std::string::npos) return false;
            v = 0;
        } else {
            std::string copy = t.substr(i);
            if (!copy.empty() && copy.back() == '.') copy.pop_back();
            const auto r2 = std::from_chars(copy.data(), copy.data() + copy.size(), v);
            if (r2.ptr != copy.data() + copy.size()) return false;
        }
    } else if (r.ec == std::errc::result_out_of_range) {
        const auto e = t.find_first_of("eE");
        if (e == std::string::npos || t.find('-', e) == std::string::npos) return false;
        v = 0;
    }
    out = negative ? -v : v;
    return true;
}

double ToFloat(const std::string& text) {
    double v = 0;
    if (!TryToFloat(text, v))
        throw ConversionError("'" + text + "' is not a valid floating point value");
    return v;
}

bool TryToInt(const std::string& text, int& out) {
    const std::string t = Trim(text);
    std::size_t i = 0;
    if (i < t.size() && t[i] == '+') ++i;
    if (i >= t.size()) return false;
    if (t[i] == '+') return false;
    int v = 0;
    const auto r = std::from_chars(t.data() + i, t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    if (i > 0 && t[i] == '-') return false;  // "+-5"
    out = v;
    return true;
}

int ToInt(const std::string& text) {
    int v = 0;
    if (!TryToInt(text, v)) throw ConversionError("'" + text + "' is not a valid integer value");
    return v;
}

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    const double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
    return r;
}

bool FitsInt(double x) {
    if (!std::isfinite(x)) return false;
    const double r = RoundHalfEven(x);
    return r >= static_cast<double>(std::numeric_limits<int>::min()) &&
           r <= static_cast<double>(std::numeric_limits<int>::max());
}

namespace {
int checked(double original, double integral) {
    if (!std::isfinite(integral) ||
        integral < static_cast<double>(std::numeric_limits<int>::min()) ||
        integral > static_cast<double>(std::numeric_limits<int>::max())) {
        throw NumericError(Format("%s cannot be converted to an integer", {general(original, 15)}));
    }
    return static_cast<int>(integral);
}
}  // namespace

int Round(double x) {
    return checked(x, RoundHalfEven(x));
}
int Trunc(double x) {
    return checked(x, std::trunc(x));
}
int Ceil(double x) {
    return checked(x, std::ceil(x));
}
int Floor(double x) {
    return checked(x, std::floor(x));
}

std::string LoadFractionText(double lf, int decimals) {
    const std::string fmt = "%0." + std::to_string(decimals) + "F";
    const double scale = std::pow(10.0, decimals);
    const double v = lf * scale;
    if (!std::isfinite(v)) return Format(fmt, {lf});
    const double nearest = std::nearbyint(v);
    const bool noise = std::fabs(v - nearest) <= 1e-12 * std::max(1.0, std::fabs(v));
    return Format(fmt, {(noise ? nearest : std::floor(v)) / scale});
}

std::string AngleText(double deg) {
    std::string s = Format("%0.6F", {deg});
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

}  // namespace qav
