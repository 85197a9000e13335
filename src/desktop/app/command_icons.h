#pragma once

#include <QIcon>

#include "desktop/app/command_set.h"

namespace trelvanox {

// The program's own pictures for the commands whose meaning no standard pixmap of the style
// carries (clipboard, print, label colours, ribbon colour styles), at 16 and 32 pixels.
// Standard yields a null icon.
QIcon GlyphIcon(TCommandGlyph glyph);

}  // namespace trelvanox
