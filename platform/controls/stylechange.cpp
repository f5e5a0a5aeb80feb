// The bridge from the style manager to the controls: after every change of the look, each
// control hears CM_STYLECHANGED once and repaints. Controls are known from their construction
// on; the announcement goes to every control without a parent, and each windowed control
// passes it on to its children, so a control in a tree hears it exactly once.
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/internal.h"
#include "platform/themes/stylemanager.h"

namespace {
struct TLiveControls {
  std::unordered_set<TControl*> Controls;
  int Listener = 0;
};

TLiveControls& Live() {
  static TLiveControls live;
  return live;
}

void AnnounceStyleChange(TObject*) {
  std::vector<std::pair<TControl*, TAliveGuard>> roots;
  for (TControl* c : Live().Controls)
    if (!c->Parent() && !c->ComponentState().Contains(csDestroying)) roots.emplace_back(c, c->AliveGuard());
  for (auto& [control, alive] : roots)
    if (alive && !control->Parent()) control->Perform(CM_STYLECHANGED);
}
}  // namespace

namespace kvctl {
void ControlCreated(TControl* Control) {
  TLiveControls& live = Live();
  // The listener is registered with the first control, not while libraries load: the style
  // manager registers the program's styles at its first use, which must come after every
  // library's resources are known.
  if (!live.Listener) live.Listener = TStyleManager::AddStyleChangeListener(TNotifyEvent(&AnnounceStyleChange));
  live.Controls.insert(Control);
}

void ControlGone(TControl* Control) { Live().Controls.erase(Control); }
}  // namespace kvctl
