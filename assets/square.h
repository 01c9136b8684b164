// The effect's square ("data\Square.lwo"): one flat quadrilateral centred on its
// origin. Its size decides how much of the screen the effect's copies cover.
#pragma once

#include "assets/lwob_writer.h"

namespace assets {

// The square's object file.
LwobWriter MakeSquare();

} // namespace assets
