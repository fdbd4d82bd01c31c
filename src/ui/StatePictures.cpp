#include "ui/StatePictures.h"

#include "ui/ImageList.h"
#include "watch/WatchedUser.h"

namespace tesk {

namespace {

int pictureFor(Presence presence) {
    switch (presence) {
        case Presence::Offline:
            return images::kSquareGrey;
        case Presence::Online:
            return images::kSquareGreen;
        case Presence::Away:
            return images::kSquareYellow;
        case Presence::Dnd:
            return images::kSquareRed;
        case Presence::Unknown:
            break;
    }
    return images::kSquareUnknown;
}

}  // namespace

int pictureFor(const WatchedUser& user) {
    return user.unread ? images::kEnvelope : pictureFor(user.presence);
}

// The button shows one's own presence as the watch list shows others'.
int pictureFor(ConnectionStatus status) {
    switch (status) {
        case ConnectionStatus::Online:
            return pictureFor(Presence::Online);
        case ConnectionStatus::Away:
            return pictureFor(Presence::Away);
        case ConnectionStatus::Dnd:
            return pictureFor(Presence::Dnd);
        case ConnectionStatus::None:
        case ConnectionStatus::Offline:
        case ConnectionStatus::Connecting:
            break;
    }
    return pictureFor(Presence::Offline);
}

}  // namespace tesk
