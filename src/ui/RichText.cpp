#include "ui/RichText.h"

#include <QEvent>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace tesk {

namespace {

class CaretToEnd : public QObject {
public:
    explicit CaretToEnd(QTextEdit* view) : QObject(view), view_(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            QTextCursor cursor = view_->textCursor();
            cursor.movePosition(QTextCursor::End);
            view_->setTextCursor(cursor);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTextEdit* view_;
};

// Points to pixels as the screen counts them (96 dpi: 8 points are about 11 pixels).
qreal pointsToPixels(qreal points) {
    return points * 96.0 / 72.0;
}

}  // namespace

namespace {

void appendBlock(QTextEdit* view, const QString& text, const QTextCharFormat& character,
                 qreal indentPoints) {
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setLeftMargin(pointsToPixels(indentPoints));
    if (view->document()->isEmpty()) {
        cursor.setBlockFormat(block);
        cursor.setBlockCharFormat(character);
    } else {
        cursor.insertBlock(block, character);
    }
    cursor.insertText(text, character);
}

}  // namespace

void appendParagraph(QTextEdit* view, const QString& text, const QColor& colour, bool bold,
                     qreal indentPoints) {
    QTextCharFormat character;
    character.setForeground(colour);
    character.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    appendBlock(view, text, character, indentPoints);
}

void useFaceBackground(QTextEdit* view) {
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    view->setPalette(palette);
}

void moveCaretToEndOnFocusOut(QTextEdit* view) {
    view->installEventFilter(new CaretToEnd(view));
}

}  // namespace tesk
