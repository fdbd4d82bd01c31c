#include "connection/Protocol.h"

namespace tesk::protocol {

std::string cannotConnectMessage() {
    return std::string(
               "Can't estabilish connection!\nCheck your Internet connection and if Battle.net "
               "server is running (you may want to check ") +
           kStatusPageUrl + ").";
}

std::string joinChannelCommand(int number) {
    return kJoinChannelPrefix + std::to_string(number);
}

}  // namespace tesk::protocol
