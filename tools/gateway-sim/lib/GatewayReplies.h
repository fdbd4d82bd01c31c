#pragma once

#include "SimTypes.h"

#include <QByteArray>
#include <QList>

// Every line the simulator sends is built here, without its CR LF. Builders that take a
// Dialect word their line as that server does; the others are the same on both.
namespace gatewaysim::replies {

QByteArray loginAccepted(const QByteArray& name);
QByteArray channelJoined(const QByteArray& channel);
QByteArray loginIncorrect();
QByteArray connectionRefused(const QByteArray& peer);
QByteArray disconnectedForFlooding();

// PvPGN's login: the greeting after the chat class byte, the prompts (sent without a line
// end), the failure that is followed by a new name prompt, and the lines after the channel.
QList<QByteArray> chatClassGreeting(const QByteArray& peer);
QByteArray namePrompt();
QByteArray nameRepeated(const QByteArray& name);
QByteArray passwordPrompt();
QByteArray passwordTaken();  // before the outcome
QList<QByteArray> loginFailed();
QList<QByteArray> welcome(Dialect dialect, const QByteArray& name);

QByteArray info(const QByteArray& text);
QByteArray error(const QByteArray& text);

QByteArray notLoggedOn();
QByteArray unknownUser();  // PvPGN
QByteArray unknownCommand(Dialect dialect);
QByteArray whoisWithoutName();
QByteArray whisperWithoutText();
QByteArray joinWithoutChannel();

// PvPGN over its quota: the answer to each line too many and to a line too long (a
// command gets the warning about flooding too), and the answer to chat text that nobody
// in the channel hears.
QList<QByteArray> quotaExceeded(bool command);
QList<QByteArray> lineTooLong(bool command);
QByteArray noOneHears();

QByteArray whoisPlace(Dialect dialect, const QByteArray& name, const QByteArray& program,
                      const Place& place);
QByteArray whoisAway(Dialect dialect, const QByteArray& name, const QByteArray& message);
QByteArray whoisOffline(Dialect dialect, bool knownAccount);
QByteArray isAway(const QByteArray& name, const QByteArray& message);
QByteArray isRefusingMessages(const QByteArray& name, const QByteArray& message);
QByteArray whisperRefused(Dialect dialect, const QByteArray& name, const QByteArray& message);

QByteArray awayOn();
QByteArray awayOff();
QByteArray dndOn();
QByteArray dndOff(Dialect dialect);
QByteArray defaultAwayMessage(Dialect dialect);
QByteArray defaultDndMessage();

// PvPGN's notices to a friend's friends: the log-on comes as a whisper from the friend.
QByteArray friendEntered(const QByteArray& name);
QByteArray friendLeft(const QByteArray& name);

// To the recipient and to the sender.
QByteArray whisperReceived(Dialect dialect, const QByteArray& from, const QByteArray& text);
QByteArray whisperSent(Dialect dialect, const QByteArray& to, const QByteArray& text);

// The record of `name` in the game `product` ("war3", "sexp", "star", "w2bn" or any other
// code). The numbers depend only on the name (any case) and the product.
QList<QByteArray> stats(Dialect dialect, const QByteArray& name, const QByteArray& product);

}  // namespace gatewaysim::replies
