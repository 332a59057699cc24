#pragma once
#include "story/Random.h"
#include "story/Text.h"

namespace quorbel {

// Lenient decimal parse of number fields: leading blanks skipped, optional sign, digits with an
// optional fraction, stop at the first character that cannot continue the number; no digits = 0.
// The value is rounded to a whole number as a Long field would hold it (halves to even) and
// clamped to the Long range.
Long LenientNumber(TextView text);
// Same parse, without rounding (used where a number is compared as read).
double LenientDecimal(TextView text);

// Decimal digits of a number, no sign blank: file name parts such as "themes_3".
Text NumText(Long n);
// The language's Str: a blank before a non-negative number, a minus sign before a negative one.
Text Str(Long n);

}  // namespace quorbel
