#pragma once

#include <QFont>
#include <QRect>

class QFrame;
class QWidget;

namespace tesk {

// The dialogs' window font: Tahoma 13 px, or its condensed look-alike where Tahoma is
// missing, so captions keep clear of the controls beside them.
QFont dialogFont();

// A one-pixel line in the shadow colour, as the dialogs use between their parts.
QFrame* addShadowLine(QWidget* parent, const char* name, const QRect& geometry);

}  // namespace tesk
