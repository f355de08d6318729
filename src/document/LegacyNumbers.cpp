// Numbers read from text (NumVal and friends) and numbers turned into text
// (Format patterns, the general text of a Single or Double, number items).
// Everything goes through std::from_chars / std::to_chars, which ignore the
// user's locale.
#include "document/Legacy.h"
#include "document/LegacyDetail.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace legacy {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// A text that is one plain decimal number, blanks around it allowed ("12",
// " -3.25 ", ".5", "1.5E+07"), is its own longest converting part: its value
// is found without collecting the shorter parts, which every number read
// from a file would otherwise pay for.  False for any other text, and for a
// number beyond a double; the full scan then decides.
bool plainDecimal(QStringView t, double& out) {
    char buf[64];
    size_t n = 0;
    qsizetype i = 0;
    const qsizetype len = t.size();
    const auto put = [&](char c) {
        if (n == sizeof buf) return false;
        buf[n++] = c;
        return true;
    };
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < len && isDigit(t[i]))
            if (!put(char(t[i++].unicode()))) return false;
        return i > from;
    };
    while (i < len && isBlank(t[i])) ++i;
    if (i < len && (t[i] == u'-' || t[i] == u'+')) {
        if (t[i] == u'-') put('-');
        ++i;
    }
    const bool before = digits();
    if (i < len && t[i] == u'.') {
        put('.');
        ++i;
        if (!digits()) return false;
    } else if (!before) {
        return false;
    }
    if (i < len && (t[i] == u'e' || t[i] == u'E')) {
        put('e');
        ++i;
        if (i < len && (t[i] == u'-' || t[i] == u'+')) put(char(t[i++].unicode()));
        if (!digits()) return false;
    }
    while (i < len && isBlank(t[i])) ++i;
    if (i != len || n == sizeof buf) return false;
    double v = 0.0;
    const auto r = std::from_chars(buf, buf + n, v);
    if (r.ec != std::errc() || r.ptr != buf + n || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// The leading parts of a text that convert, found in one pass over the text.
struct PrefixScan {
    bool hex = false;
    std::string number;           // ASCII copy of the decimal part (sign, digits, point, 'e')
    std::vector<int> ends;        // lengths of `number` that form a complete number
    std::vector<double> hexValues;// hex form: the value of each converting leading part
    int acceptedChars = 0;        // characters of the text in the longest converting part, blanks after it included
};

PrefixScan scanPrefixes(QStringView t) {
    PrefixScan s;
    const qsizetype n = t.size();
    qsizetype i = 0;
    while (i < n && isBlank(t[i])) ++i;
    auto acceptBlanks = [&] {
        while (i < n && isBlank(t[i])) ++i;
        s.acceptedChars = int(i);
    };

    if (i + 1 < n && t[i] == u'&' && (t[i + 1] == u'H' || t[i + 1] == u'h')) {
        // "&H" hex: at most 8 significant digits make a 32-bit value.
        s.hex = true;
        i += 2;
        uint32_t v = 0;
        int significant = 0;
        int d;
        while (i < n && (d = hexDigit(t[i])) >= 0) {
            if (significant > 0 || d != 0) {
                if (++significant > 8) break;
            }
            v = (v << 4) | uint32_t(d);
            ++i;
            s.hexValues.push_back(double(int32_t(v)));
            s.acceptedChars = int(i);
        }
        if (s.hexValues.empty() || significant > 8) return s;
        if (i < n && t[i] == u'&') {
            ++i;
            s.acceptedChars = int(i);
        }
        acceptBlanks();
        return s;
    }

    std::string& num = s.number;
    num.reserve(size_t(std::min<qsizetype>(n - i, 64)));
    auto accept = [&] {
        s.ends.push_back(int(num.size()));
        s.acceptedChars = int(i);
    };
    // Copies a run of digits, each of which completes a number; says
    // whether there was any.
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && isDigit(t[i])) {
            num += char(t[i].unicode());
            ++i;
            accept();
        }
        return i > start;
    };
    if (i < n && (t[i] == u'-' || t[i] == u'+')) {
        if (t[i] == u'-') num += '-';
        ++i;
    }
    const bool digitsBefore = digits();
    bool digitsAfter = false;
    if (i < n && t[i] == u'.') {
        num += '.';
        ++i;
        if (digitsBefore) accept();   // "5." is a complete number
        digitsAfter = digits();
    }
    if (!digitsBefore && !digitsAfter) return s;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        const auto mark = num.size();
        const qsizetype markI = i;
        num += 'e';
        ++i;
        if (i < n && (t[i] == u'-' || t[i] == u'+')) {
            num += char(t[i].unicode());
            ++i;
        }
        if (!digits()) {   // "1e" and "1e-" do not convert; the blanks after them do not count
            num.resize(mark);
            i = markI;
            return s;
        }
    }
    acceptBlanks();
    return s;
}

// True when a decimal text that std::from_chars found out of range is too
// large (rather than too small) for a double.
bool outOfRangeIsLarge(std::string_view text) {
    size_t p = 0;
    if (p < text.size() && text[p] == '-') ++p;
    long long magnitude = 0;
    bool found = false;
    int intDigits = 0;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
        if (found || text[p] != '0') {
            found = true;
            ++intDigits;
        }
        ++p;
    }
    if (found) {
        magnitude = intDigits - 1;
    } else {
        int zeros = 0;
        if (p < text.size() && text[p] == '.') ++p;
        while (p < text.size() && text[p] == '0') {
            ++zeros;
            ++p;
        }
        magnitude = -(zeros + 1);
    }
    while (p < text.size() && text[p] != 'e') ++p;
    if (p < text.size()) {
        ++p;
        bool negative = false;
        if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
        long long e = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            if (e < 100000000) e = e * 10 + (text[p] - '0');
            ++p;
        }
        magnitude += negative ? -e : e;
    }
    return magnitude > 0;
}

// Converts one complete decimal number; false when it is beyond a double.
bool convertDecimal(std::string_view text, double& out) {
    double v = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        if (outOfRangeIsLarge(text)) return false;
        v = (!text.empty() && text[0] == '-') ? -0.0 : 0.0;   // too small: rounds to zero
    } else if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return false;
    }
    out = v;
    return std::isfinite(v);
}

// ---------------------------------------------------------------------------
// Decimal digits of a value: value = d0.d1d2... x 10^exp, no trailing zeros.
struct Digits {
    bool negative = false;
    std::string digits;   // "0" for zero
    int exp = 0;
};

// Parses the output of std::to_chars in scientific form.
Digits digitsFromScientific(const char* first, const char* last) {
    Digits d;
    const char* p = first;
    if (p < last && *p == '-') {
        d.negative = true;
        ++p;
    }
    while (p < last && *p != 'e') {
        if (*p != '.') d.digits += *p;
        ++p;
    }
    if (p < last) {
        ++p;
        int e = 0;
        std::from_chars(p + (*p == '+' ? 1 : 0), last, e);
        d.exp = e;
    }
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits == "0") {
        d.exp = 0;
        d.negative = false;
    }
    return d;
}

template <typename T>
Digits roundedDigits(T value, int significant) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    return digitsFromScientific(buf, r.ptr);
}

template <typename T>
Digits shortestDigits(T value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    return digitsFromScientific(buf, r.ptr);
}

// Lays digits out as the old runtime's general number text: plain digits
// while the decimal exponent lies in -4 .. plainDigits-1, otherwise the
// exponent form "1.234568E+07" with at least two exponent digits.  Without
// allowExponent every value is laid out in plain digits.
QString layout(const Digits& d, int plainDigits, bool zeroBeforePoint, bool allowExponent = true) {
    std::string out;
    if (d.negative) out += '-';
    const std::string& g = d.digits;
    if (g == "0") return QStringLiteral("0");
    if (allowExponent && (d.exp >= plainDigits || d.exp < -4)) {
        out += g[0];
        if (g.size() > 1) {
            out += '.';
            out.append(g, 1);
        }
        out += 'E';
        out += d.exp < 0 ? '-' : '+';
        const int e = std::abs(d.exp);
        if (e < 10) out += '0';
        out += std::to_string(e);
    } else if (d.exp >= 0) {
        const size_t intLen = size_t(d.exp) + 1;
        if (g.size() <= intLen) {
            out += g;
            out.append(intLen - g.size(), '0');
        } else {
            out.append(g, 0, intLen);
            out += '.';
            out.append(g, intLen);
        }
    } else {
        if (zeroBeforePoint) out += '0';
        out += '.';
        out.append(size_t(-d.exp - 1), '0');
        out += g;
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

template <typename T>
void requireFinite(T value) {
    if (!std::isfinite(value)) raise(ErrorCode::Overflow);
}

} // namespace

// ---------------------------------------------------------------------------
namespace detail {

double leadingValue(QStringView text, double limit) {
    double plain = 0.0;
    if (plainDecimal(text, plain) && std::fabs(plain) <= limit) return plain;
    const PrefixScan s = scanPrefixes(text);
    if (s.hex) return s.hexValues.empty() ? 0.0 : s.hexValues.back();
    if (s.ends.empty()) return 0.0;
    auto valueAt = [&](size_t k, double& v) {
        return convertDecimal(std::string_view(s.number.data(), size_t(s.ends[k])), v) && std::fabs(v) <= limit;
    };
    double v = 0.0;
    if (valueAt(s.ends.size() - 1, v)) return v;
    // The whole number is too large.  A longer leading part is never smaller
    // in magnitude than a shorter one of the same shape, so the longest part
    // that still fits is found by halving.
    size_t lo = 0, hi = s.ends.size() - 1;   // ends[hi] does not fit
    double best = 0.0;
    if (!valueAt(0, best)) return 0.0;
    while (hi - lo > 1) {
        const size_t mid = lo + (hi - lo) / 2;
        double m = 0.0;
        if (valueAt(mid, m)) {
            lo = mid;
            best = m;
        } else {
            hi = mid;
        }
    }
    return best;
}

double lenientValue(QStringView text, double limit) {
    if (text.isEmpty() || text == u"False") return 0.0;
    if (text == u"True") return 1.0;
    return leadingValue(text, limit);
}

} // namespace detail

float NumVal(QStringView text) {
    // Each leading part's value was stored as a Single by the old reader, and
    // a part that did not fit was skipped; limiting to FLT_MAX does the same.
    return static_cast<float>(detail::lenientValue(text, double(FLT_MAX)));
}

bool parseNumber(const QString& text, double& out) {
    if (plainDecimal(text, out)) return true;
    const PrefixScan s = scanPrefixes(text);
    if (s.acceptedChars != text.size()) return false;
    if (s.hex) {
        if (s.hexValues.empty()) return false;
        out = s.hexValues.back();
        return true;
    }
    if (s.ends.empty()) return false;
    double v = 0.0;
    if (!convertDecimal(std::string_view(s.number.data(), size_t(s.ends.back())), v)) return false;
    out = v;
    return true;
}

// ---------------------------------------------------------------------------
// Format(value, pattern)
//
// The old runtime worked on the decimal value of a Double as it displayed it,
// that is to 15 significant digits, and rounded that decimal value halves away
// from zero.  So 1.005 (held as 1.00499999999999989...) shows as 1.01 under
// "0.00", and 0.125 as 0.13.  A Single widened to double keeps its exact
// binary value: 0.35f is 0.349999994... and shows as 0.3 under "0.0".
// A negative value that rounds to zero keeps its sign ("-0.0"), as the old
// runtime printed it; only an exact zero is unsigned.
//
// Patterns: an optional literal prefix, then digit placeholders "0" (always
// shown) and "#" (shown when needed) with at most one ".", then an optional
// literal suffix.  An empty pattern gives the general text of the value.
QString Format(double value, const QString& pattern) {
    requireFinite(value);
    if (pattern.isEmpty()) return layout(roundedDigits(value, 15), 15, true);

    qsizetype first = -1, last = -1;
    for (qsizetype k = 0; k < pattern.size(); ++k) {
        const QChar c = pattern[k];
        if (c == u'0' || c == u'#' || c == u'.') {
            if (first < 0) first = k;
            last = k;
        }
    }
    if (first < 0) return pattern;   // nothing to fill in
    const QStringView body = QStringView(pattern).mid(first, last - first + 1);
    int minInt = 0, decimals = 0, minFrac = 0;
    bool point = false;
    for (const QChar c : body) {
        if (c == u'.') {
            point = true;
        } else if (c == u'0' || c == u'#') {
            if (!point) {
                if (c == u'0') ++minInt;
            } else {
                ++decimals;
                if (c == u'0') minFrac = decimals;
            }
        }
    }

    // Units of 10^-decimals, as a digit string, rounded halves away from zero.
    const Digits d = roundedDigits(std::fabs(value), 15);
    std::string units;
    if (d.digits != "0") {
        const long long keep = (long long)d.exp + decimals + 1;   // digits at or above the last place
        if (keep < 0) {
            units = "0";
        } else if (keep == 0) {
            units = d.digits[0] >= '5' ? "1" : "0";
        } else if (size_t(keep) >= d.digits.size()) {
            units = d.digits;
            units.append(size_t(keep) - d.digits.size(), '0');
        } else {
            units = d.digits.substr(0, size_t(keep));
            if (d.digits[size_t(keep)] >= '5') {
                size_t k = units.size();
                while (k > 0 && units[k - 1] == '9') units[--k] = '0';
                if (k == 0) units.insert(units.begin(), '1');
                else ++units[k - 1];
            }
        }
    } else {
        units = "0";
    }
    if (units.size() < size_t(decimals) + 1) units.insert(0, size_t(decimals) + 1 - units.size(), '0');
    std::string intPart = units.substr(0, units.size() - size_t(decimals));
    std::string frac = units.substr(units.size() - size_t(decimals));
    const size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
    if (intPart.size() < size_t(minInt)) intPart.insert(0, size_t(minInt) - intPart.size(), '0');
    while (frac.size() > size_t(minFrac) && frac.back() == '0') frac.pop_back();

    QString out;
    if (value < 0) out += u'-';
    out += QStringView(pattern).left(first);
    out += QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    if (point) {
        out += u'.';
        out += QString::fromLatin1(frac.data(), qsizetype(frac.size()));
    }
    out += QStringView(pattern).mid(last + 1);
    return out;
}

QString SingleText(float value) {
    requireFinite(value);
    return layout(roundedDigits(value, 7), 7, false);
}

QString DoubleText(double value) {
    requireFinite(value);
    return layout(roundedDigits(value, 15), 15, false);
}

QString GeneralText(float value) {
    requireFinite(value);
    return layout(roundedDigits(value, 7), 7, true);
}

QString NumberItem(float value) {
    requireFinite(value);
    // The switch to the exponent form stays where a Single's 7 plain digits
    // end, so a value shows the same way as in SingleText, only with the
    // extra digits it needs to read back unchanged.
    return layout(shortestDigits(value), 7, false);
}

QString DecimalItem(float value) {
    requireFinite(value);
    return layout(shortestDigits(value), 7, false, false);
}

QString IntegerText(long long value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, qsizetype(r.ptr - buf));
}

} // namespace legacy
