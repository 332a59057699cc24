#include "story/Numbers.h"

#include <limits>
#include <string>

namespace quorbel {

double LenientDecimal(TextView t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == u' ') ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
    negative = t[i] == u'-';
    ++i;
  }
  double value = 0;
  while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
    value = value * 10 + (t[i] - u'0');
    ++i;
  }
  if (i < t.size() && t[i] == u'.') {
    ++i;
    double scale = 0.1;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
      value += (t[i] - u'0') * scale;
      scale /= 10;
      ++i;
    }
  }
  return negative ? -value : value;
}

Long LenientNumber(TextView t) {
  double v = LenientDecimal(t);
  constexpr double lo = std::numeric_limits<Long>::min();
  constexpr double hi = std::numeric_limits<Long>::max();
  if (v <= lo) return std::numeric_limits<Long>::min();
  if (v >= hi) return std::numeric_limits<Long>::max();
  return CLng(v);
}

Text NumText(Long n) {
  std::string s = std::to_string(n < 0 ? -static_cast<long long>(n) : static_cast<long long>(n));
  return Text(s.begin(), s.end());
}

Text Str(Long n) {
  std::string s = std::to_string(n);
  if (n >= 0) s.insert(s.begin(), ' ');
  return Text(s.begin(), s.end());
}

}  // namespace quorbel
