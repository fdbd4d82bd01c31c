#pragma once

#include <QString>

// Project-level texts shown in the about box and the first-run welcome message. Each is
// defined here only, so the two windows always name the same addresses.
namespace tesk::project {

inline constexpr char kFullName[] = "TESK";
inline constexpr char kVersion[] = TESK_VERSION;
inline constexpr char kCopyright[] = "Copyright (c) 2026 the TESK developers";
inline constexpr char kRights[] = "All rights reserved.";
inline constexpr char kContactAddress[] = "tesk@example.org";
inline constexpr char kHomePage[] = "https://tesk.example.org/";
inline constexpr char kThanks[] =
    "Everyone who tested early builds and reported problems, and the Qt Project.";
// The licence of the LICENSE file at the project's root, installed with the program.
inline constexpr char kLicense[] =
    "MIT License: free to use, copy, change and pass on, without warranty.";

// The first-run welcome message: nine lines joined by "\n".
QString welcomeMessage();

}  // namespace tesk::project
