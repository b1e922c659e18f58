#pragma once

#include <string>

struct xkb_context;
struct xkb_keymap;

namespace platform {

// An xkb keymap together with the layout group that is active in it.
struct XkbKeymapChoice {
  xkb_keymap* keymap = nullptr;  // owned by the caller (xkb_keymap_unref)
  unsigned layoutIndex = 0;
  std::string description;  // e.g. "fr" or "x11:us,de#1", for traces and tests
};

// The layout the user's session types with: the X server's keymap and active
// group when an X display is reachable, otherwise the system's configured
// default (/etc/default/keyboard, then the xkbcommon defaults).
XkbKeymapChoice LoadSessionKeymap(xkb_context* context);

// A layout named like "fr", "de", "us(intl)" or "fr:oss"; keymap null when the
// name is unknown to the installed xkb data.
XkbKeymapChoice LoadNamedKeymap(xkb_context* context, const std::string& name);

}  // namespace platform
