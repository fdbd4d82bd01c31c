#pragma once

#include "connection/ConnectionStatus.h"

namespace tesk {

// The picture of the status button and of the status menu's entries: grey offline, green
// online, yellow away, red DND.
int pictureFor(ConnectionStatus status);

}  // namespace tesk
