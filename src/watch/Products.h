#pragma once

#include <string>
#include <vector>

namespace tesk {

// The games whose statistics the gateway keeps, in the order of the statistics menus.
struct Product {
    const char* code;     // as "/stats NAME code" names it
    const char* caption;  // its entry in the statistics menus
    const char* heading;  // its name above the replies in a statistics window
    bool warcraftIII;     // asked only for Warcraft III accounts ("name@gateway")
};

inline constexpr Product kProducts[] = {
    {"war3", "Warcraft III", "Warcraft III", true},
    {"sexp", "Starcraft - Brood War", "Starcraft - Brood War", false},
    {"star", "Starcraft", "Starcraft", false},
    {"w2bn", "Warcraft II BNE", "Warcraft II Battle.net Edition", false},
};

// What "All" asks for: the products other than Warcraft III. Each request goes to the
// front of the command queue, so they come last first and leave in menu order.
std::vector<const char*> allStatsCodes();

// The heading of a product code; an unknown code is its own heading.
std::string productName(const std::string& code);
// The heading of a product's statistics: "Starcraft statistics:".
std::string statsHeading(const std::string& code);

}  // namespace tesk
