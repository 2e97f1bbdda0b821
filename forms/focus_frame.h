#pragma once

#include <QColor>

class QAbstractScrollArea;

// What shows a box's focus and its selected entry, with contrast enough to be seen.
namespace forms {

// The colour, moved towards black or white (away from `against`) until the two have at least
// the contrast ratio given, as the Web Content Accessibility Guidelines compute it.
QColor WithContrast(QColor colour, const QColor& against, double ratio);

// Draws a frame over the box's own frame while the box has the focus, in the palette's highlight
// colour made to stand out from the window (3:1). Called after the box has painted its frame.
void PaintFocusFrame(QAbstractScrollArea& box);

// Gives the box a highlight on which its highlighted text is readable (4.5:1).
void MakeSelectionReadable(QAbstractScrollArea& box);

} // namespace forms
