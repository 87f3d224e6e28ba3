#include "cutting/fixed.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace qc {

std::int64_t roundeven(double x)
{
    if (!std::isfinite(x))
        return 0;
    if (x > 9.2e18)
        return INT64_MAX;
    if (x < -9.2e18)
        return INT64_MIN;
    double r = std::round(x);  // halves away from zero...
    if (std::fabs(x - std::trunc(x)) == 0.5)
        r = 2.0 * std::round(x / 2.0);  // ...except exact halves, which go to even
    return static_cast<std::int64_t>(r);
}

std::string fixed(double x, int d)
{
    std::string t = decimals(x, d);
    if (t.find('.') != std::string::npos) {
        while (t.back() == '0')
            t.pop_back();
        if (t.back() == '.')
            t.pop_back();
    }
    return t == "-0" ? "0" : t;
}

std::string decimals(double x, int d)
{
    double scale = 1;
    for (int i = 0; i < d; ++i)
        scale *= 10;
    std::int64_t n = roundeven(x * scale);
    bool negative = n < 0;
    std::string digits =
        std::to_string(negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n));
    if (static_cast<int>(digits.size()) < d + 1)
        digits = std::string(static_cast<std::size_t>(d + 1) - digits.size(), '0') + digits;
    std::string t = digits;
    if (d > 0) {
        std::size_t cut = digits.size() - static_cast<std::size_t>(d);
        t = digits.substr(0, cut) + "." + digits.substr(cut);
    }
    if (negative)
        t = "-" + t;
    return t;
}

std::optional<double> parsenumber(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t expdigits = 0;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            ++expdigits;
        }
        if (expdigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    // from_chars reads "." whatever the locale; it takes no "+" sign.
    const char* first = text.data() + start;
    bool negative = *first == '-';
    if (*first == '+' || *first == '-')
        ++first;
    double v = 0;
    auto [ptr, ec] = std::from_chars(first, text.data() + n, v);
    if (ec == std::errc::result_out_of_range && ptr == text.data() + n) {
        // Still a number, only beyond a double: tiny ones are 0, huge ones the largest.
        std::size_t e = text.find_first_of("eE", start);
        bool tiny = e != std::string::npos && e + 1 < n && text[e + 1] == '-';
        double bound = tiny ? 0.0 : std::numeric_limits<double>::max();
        return negative ? -bound : bound;
    }
    if (ec != std::errc() || ptr != text.data() + n || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

std::optional<double> readcuttime(const std::string& text)
{
    std::string t = text;
    bool point = false;
    std::size_t i = t.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (t[k] == ',')
            t[k] = '.';
        if (t[k] == '.') {
            if (point)
                return std::nullopt;
            point = true;
        } else if (!std::isdigit(static_cast<unsigned char>(t[k]))) {
            return std::nullopt;
        }
    }
    return parsenumber(t);
}

}  // namespace qc
