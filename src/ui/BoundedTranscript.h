#pragma once

#include <QColor>
#include <QString>
#include <cstddef>
#include <deque>

class QTextEdit;

namespace tesk {

// A read-only transcript (a chat or statistics window) that keeps at most a number of
// bytes of text: the oldest paragraphs go first, and one note at the top says so. Every
// paragraph is one line of text (received text comes with its control characters shown
// as pictures).
class BoundedTranscript {
public:
    static constexpr const char* kOlderRemoved = "older messages removed";

    BoundedTranscript(QTextEdit* view, std::size_t maxBytes);

    // With its own colour, weight and indent (in points).
    void appendParagraph(const QString& text, const QColor& colour, bool bold, qreal indentPoints);

    std::size_t keptBytes() const { return keptBytes_; }

private:
    void added(const QString& text);
    void dropOldest();
    void noteRemoval();

    QTextEdit* view_;
    const std::size_t maxBytes_;
    std::deque<std::size_t> sizes_;  // of the paragraphs below the note, oldest first
    std::size_t keptBytes_ = 0;
    bool noted_ = false;
};

}  // namespace tesk
