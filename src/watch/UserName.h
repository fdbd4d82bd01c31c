#pragma once

#include <string>
#include <string_view>

namespace tesk {

// The one lower-casing of user names, used wherever names are compared.
std::string lowerCaseName(std::string_view name);

// Watch list order, the same on every machine: byte by byte with a fixed weight that
// ignores letter case (punctuation and symbols, then digits, then letters, then bytes of
// non-ASCII characters), a shorter name before its longer extensions, and letter case
// deciding only between names that are otherwise equal, lower case first ("alice" <
// "Bob", "bob" < "Bob"). Negative, 0, positive.
int compareNames(std::string_view a, std::string_view b);

}  // namespace tesk
