#include "LineSplitter.h"

#include <algorithm>

namespace gatewaysim {

LineSplitter::LineSplitter(int maxLineBytes) : maxLine_(std::max(1, maxLineBytes)) {}

QList<QByteArray> LineSplitter::feed(const QByteArray& bytes) {
    QList<QByteArray> lines;
    for (const char c : bytes) {
        if (crHeld_) {
            crHeld_ = false;
            if (c == '\n') {
                lines.append(pending_);
                pending_.clear();
                continue;
            }
            keep('\r');
        }
        if (c == '\r') {
            crHeld_ = true;
        } else {
            keep(c);
        }
    }
    return lines;
}

void LineSplitter::keep(char c) {
    if (pending_.size() < maxLine_) {
        pending_.append(c);
    }
}

}  // namespace gatewaysim
