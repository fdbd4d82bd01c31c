#pragma once

#include <QByteArray>
#include <QList>

namespace gatewaysim {

// Cuts a received byte stream into CR LF terminated lines (a lone CR or LF is data).
// A line longer than the cap keeps its first maxLineBytes bytes; the rest of it, up to
// its CR LF, is dropped, so a client that never ends its line cannot exhaust memory.
class LineSplitter {
public:
    explicit LineSplitter(int maxLineBytes);

    // Appends bytes and returns the lines they complete, without their terminators.
    QList<QByteArray> feed(const QByteArray& bytes);

private:
    void keep(char c);

    int maxLine_;
    QByteArray pending_;
    bool crHeld_ = false;  // the last byte was a CR that may start the terminator
};

}  // namespace gatewaysim
