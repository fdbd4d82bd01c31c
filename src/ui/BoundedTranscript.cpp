#include "ui/BoundedTranscript.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "ui/RichText.h"

namespace tesk {

BoundedTranscript::BoundedTranscript(QTextEdit* view, std::size_t maxBytes)
    : view_(view), maxBytes_(maxBytes) {}

void BoundedTranscript::appendParagraph(const QString& text, const QColor& colour, bool bold,
                                        qreal indentPoints) {
    tesk::appendParagraph(view_, text, colour, bold, indentPoints);
    added(text);
}

void BoundedTranscript::added(const QString& text) {
    const auto bytes = static_cast<std::size_t>(text.toUtf8().size());
    sizes_.push_back(bytes);
    keptBytes_ += bytes;
    if (keptBytes_ <= maxBytes_) {
        return;
    }
    // The newest paragraph always stays.
    while (keptBytes_ > maxBytes_ && sizes_.size() > 1) {
        dropOldest();
    }
    if (!noted_) {
        noteRemoval();
    }
}

void BoundedTranscript::dropOldest() {
    QTextDocument* document = view_->document();
    const QTextBlock oldest = document->findBlockByNumber(noted_ ? 1 : 0);
    QTextCursor cursor(document);
    cursor.setPosition(oldest.position());
    cursor.setPosition(oldest.next().position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    keptBytes_ -= sizes_.front();
    sizes_.pop_front();
}

// The first paragraph moves down with its own format, and the block it leaves at the top
// takes the note.
void BoundedTranscript::noteRemoval() {
    QTextDocument* document = view_->document();
    const QTextBlock first = document->firstBlock();
    QTextCursor cursor(document);
    cursor.insertBlock(first.blockFormat(), first.charFormat());
    cursor.setPosition(0);
    cursor.setBlockFormat(QTextBlockFormat());
    QTextCharFormat note;
    note.setForeground(Qt::gray);
    note.setFontItalic(true);
    cursor.insertText(kOlderRemoved, note);
    noted_ = true;
}

}  // namespace tesk
