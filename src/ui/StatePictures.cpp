#include "ui/StatePictures.h"

#include "ui/ImageList.h"

namespace tesk {

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
