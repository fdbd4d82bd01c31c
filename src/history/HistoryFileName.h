#pragma once

#include <string>
#include <string_view>

namespace tesk {

// The name of a partner's history file: the lower-cased name with every byte outside
// a-z, 0-9 and "_" written as %XX, so that no name can leave the folder, hide a file or
// hold a control byte. An encoded name longer than 200 bytes is cut there (never inside
// a %XX) and followed by "-" and a short hash of the whole name; "-" never occurs in an
// encoded name, so a cut name cannot meet an uncut one. Then ".log". Empty for an empty
// name.
std::string historyFileName(std::string_view partner);

}  // namespace tesk
