#pragma once

#include <QFont>
#include <QRect>
#include <functional>

class QFrame;
class QWidget;

namespace tesk {

// The dialogs' window font: Tahoma 13 px, or its condensed look-alike where Tahoma is
// missing, so captions keep clear of the controls beside them.
QFont dialogFont();

// Keeps the fonts that a dialog and its parts have now through every later look switch,
// and paints the dialog's own colours again after each: switching the application's
// style sheet leaves some parts with the application's font and palette, which clips
// texts sized to the dialog's font and turns links black. Call it once the dialog is built.
void keepLookThroughSwitches(QWidget* dialog, std::function<void()> paintColours = {});

// A one-pixel line in the shadow colour, as the dialogs use between their parts.
QFrame* addShadowLine(QWidget* parent, const char* name, const QRect& geometry);

}  // namespace tesk
