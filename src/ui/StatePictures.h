#pragma once

#include "connection/ConnectionStatus.h"

namespace tesk {

struct WatchedUser;

// The pictures of the main image list that show a state. The squares mean the same for a
// watched user and for the status button: grey offline, green online, yellow away, red DND.

// A row's picture: the envelope while a message waits, else its presence.
int pictureFor(const WatchedUser& user);

// The picture of the status button and of the status menu's entries.
int pictureFor(ConnectionStatus status);

}  // namespace tesk
