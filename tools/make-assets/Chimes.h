#pragma once

#include <QByteArray>

// The program's two notification chimes, synthesized so that they are our own and need
// no sound files in the repository.
namespace makeassets {

constexpr int kSampleRate = 22050;

// Complete 16-bit mono PCM wave files.
QByteArray onlineChime();   // two rising bell notes, about 0.4 s
QByteArray messageChime();  // one soft bell, about 0.3 s

}  // namespace makeassets
