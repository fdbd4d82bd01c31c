#include "ui/StatePictures.h"

#include "ui/ImageList.h"
#include "watch/WatchedUser.h"

namespace tesk {

int pictureFor(const WatchedUser& user) {
    if (user.unread) {
        return images::kEnvelope;
    }
    switch (user.presence) {
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

int pictureFor(ConnectionStatus status) {
    switch (status) {
        case ConnectionStatus::Online:
            return images::kSquareGreen;
        case ConnectionStatus::Away:
            return images::kSquareYellow;
        case ConnectionStatus::Dnd:
            return images::kSquareRed;
        case ConnectionStatus::None:
        case ConnectionStatus::Offline:
        case ConnectionStatus::Connecting:
            break;
    }
    return images::kSquareGrey;
}

}  // namespace tesk
