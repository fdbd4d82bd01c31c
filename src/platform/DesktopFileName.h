#pragma once

namespace tesk {

// The application id: the name of the installed desktop entry without ".desktop", which
// Wayland compositors and notification services match windows and notices against, and
// the id of the AppStream metainfo.
inline constexpr char kDesktopFileName[] = "org.example.tesk";

}  // namespace tesk
