#include "app/start.h"

#include "accounts/windows.h"
#include "app/context.h"

namespace app {

int start(ui::Toolkit& ui) {
  store::Store store;
  return start(ui, store);
}

// The list window's created event is the sign-in, so the whole sign-in with
// its modal password windows runs inside load_startup, before the list shows.
int start(ui::Toolkit& ui, store::Store& store) {
  Context ctx{ui, store};
  ui.load_startup(accounts::list_window(ctx));
  return ui.run();
}

}  // namespace app
