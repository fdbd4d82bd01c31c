#pragma once

#include <string>
#include <string_view>

namespace tesk {

// The one lower-casing of user names, used wherever names are compared.
std::string lowerCaseName(std::string_view name);

// Watch list order: the locale's collation, where letter case decides only between
// names that are otherwise equal ("alice" < "Bob", "bob" < "Bob"). Negative, 0, positive.
int compareNames(std::string_view a, std::string_view b);

}  // namespace tesk
