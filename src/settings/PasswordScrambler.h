#pragma once

#include <string>

namespace tesk {

// The fixed transform that keeps the account password out of the configuration file in
// clear: every byte n (from 0) becomes NOT(byte XOR key[n mod 16]). Applying it twice
// gives the input back, so one call serves both directions. The output has the length of
// the input.
std::string scramblePassword(const std::string& text);

// The "Password" value to store for a plain password. A password of bytes 0x01..0x7F is
// stored as its scrambled bytes, which then all lie in 0x80..0xFF. Any other password
// would scramble to bytes a profile line cannot hold (NUL, line breaks), so it is stored
// as "~" followed by the scrambled bytes in hexadecimal; a leading ASCII byte never starts
// a scrambled ASCII password, so the two forms cannot be confused. The empty password is
// stored as the empty value.
std::string encodeStoredPassword(const std::string& plain);

// The plain password of a stored value, for both forms above. A value in neither form, or
// a "~" form with bytes that are not pairs of hex digits, gives the empty password.
std::string decodeStoredPassword(const std::string& stored);

}  // namespace tesk
