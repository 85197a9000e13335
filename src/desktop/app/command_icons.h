#pragma once

#include <QIcon>

#include "desktop/app/command_set.h"

namespace trelvanox {

// The program's own pictures of the commands, each drawn for 16 and for 32 pixels from one
// vector design, on a faint light rim so that it reads on the dark ribbon style as on the light
// ones. A new picture is a TCommandGlyph value and one drawing function on the 32-unit design
// in command_icons.cpp, named in its Draw switch. Standard yields a null icon.
QIcon GlyphIcon(TCommandGlyph glyph);

}  // namespace trelvanox
