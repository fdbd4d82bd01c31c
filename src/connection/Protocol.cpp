#include "connection/Protocol.h"

namespace tesk::protocol {

std::string cannotConnectMessage() {
    return std::string(
               "Can't estabilish connection!\nCheck your Internet connection and if Battle.net "
               "server is running (you may want to check ") +
           kStatusPageUrl + ").";
}

std::string loginUnansweredMessage() {
    return "Can't estabilish connection!\nThe server did not answer the login.";
}

std::string closedDuringLoginMessage(bool classicType) {
    std::string message =
        "Can't estabilish connection!\nThe server closed the connection during login.";
    if (classicType) {
        message += "\nIf this is a PvPGN server, choose the server type PvPGN or Automatic.";
    }
    return message;
}

std::string joinChannelCommand(int number) {
    return kJoinChannelPrefix + std::to_string(number);
}

}  // namespace tesk::protocol
