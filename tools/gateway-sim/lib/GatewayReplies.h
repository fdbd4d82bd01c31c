#pragma once

#include "SimTypes.h"

#include <QByteArray>
#include <QList>

// Every line the simulator sends is built here, without its CR LF. The texts are those of
// the classic chat gateway; another server dialect would get its own set of these builders.
namespace gatewaysim::replies {

QByteArray loginAccepted(const QByteArray& name);
QByteArray channelJoined(const QByteArray& channel);
QByteArray loginIncorrect();
QByteArray connectionRefused(const QByteArray& peer);
QByteArray disconnectedForFlooding();

QByteArray info(const QByteArray& text);
QByteArray error(const QByteArray& text);

QByteArray notLoggedOn();
QByteArray unknownCommand();
QByteArray whoisWithoutName();
QByteArray whisperWithoutText();
QByteArray joinWithoutChannel();

QByteArray whoisPlace(const QByteArray& name, const QByteArray& program, const Place& place);
QByteArray isAway(const QByteArray& name, const QByteArray& message);
QByteArray isRefusingMessages(const QByteArray& name, const QByteArray& message);
QByteArray whisperRefused(const QByteArray& name, const QByteArray& message);

QByteArray awayOn();
QByteArray awayOff();
QByteArray dndOn();
QByteArray dndOff();

QByteArray whisperReceived(const QByteArray& from, const QByteArray& text);  // to the recipient
QByteArray whisperSent(const QByteArray& to, const QByteArray& text);        // to the sender

// The record of `name` in the game `product` ("war3", "sexp", "star", "w2bn" or any other
// code). The numbers depend only on the name (any case) and the product.
QList<QByteArray> stats(const QByteArray& name, const QByteArray& product);

}  // namespace gatewaysim::replies
