#pragma once

namespace tesk {

// Whether a system tray is there to hold the icon. Qt settles at its first question whether
// it reaches the tray over D-Bus (a StatusNotifierItem host: KDE Plasma, GNOME with its
// AppIndicator extension) and never looks again, so asked at login before the host is up it
// would never use it. Qt is therefore asked only once a tray is there: a registered
// StatusNotifierItem host, or on X11 the older XEmbed tray.
bool systemTrayAvailable();

}  // namespace tesk
