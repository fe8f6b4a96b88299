// The start routine: the list window is loaded as the start-up window (its
// created event is the sign-in), then the event loop runs until no window is left.
#pragma once

#include "store/store.h"
#include "ui/toolkit.h"

namespace app {

int start(ui::Toolkit& ui);
int start(ui::Toolkit& ui, store::Store& store);

}  // namespace app
