#pragma once

#include <QColor>
#include <QString>

class QTextEdit;

namespace tesk {

// Appends one paragraph at the end of a read-only transcript with its own colour, weight
// and indent (in points; every wrapped line is indented).
void appendParagraph(QTextEdit* view, const QString& text, const QColor& colour, bool bold,
                     qreal indentPoints);

// Paints the transcript on the button-face colour, like the window around it.
void useFaceBackground(QTextEdit* view);

// When `view` loses the focus its caret goes to the end with nothing selected, so later
// paragraphs never land inside a selection the user made.
void moveCaretToEndOnFocusOut(QTextEdit* view);

}  // namespace tesk
