#include "platform/XkbKeymapSource.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "platform/DebugOutput.h"

namespace platform {
namespace {

struct RuleNames {
  std::string model, layout, variant, options;
};

XkbKeymapChoice FromRuleNames(xkb_context* context, const RuleNames& names,
                              std::string description) {
  xkb_rule_names rules{};
  rules.model = names.model.empty() ? nullptr : names.model.c_str();
  rules.layout = names.layout.empty() ? nullptr : names.layout.c_str();
  rules.variant = names.variant.empty() ? nullptr : names.variant.c_str();
  rules.options = names.options.empty() ? nullptr : names.options.c_str();
  XkbKeymapChoice choice;
  choice.keymap = xkb_keymap_new_from_names(context, &rules, XKB_KEYMAP_COMPILE_NO_FLAGS);
  choice.description = std::move(description);
  return choice;
}

std::string Unquote(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Debian keeps the console and desktop default in /etc/default/keyboard as
// shell assignments (XKBLAYOUT="fr").
RuleNames SystemDefaultNames() {
  std::map<std::string, std::string> values;
  std::ifstream file("/etc/default/keyboard");
  std::string line;
  while (std::getline(file, line)) {
    const auto equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    values[line.substr(0, equals)] = Unquote(line.substr(equals + 1));
  }
  return {values["XKBMODEL"], values["XKBLAYOUT"], values["XKBVARIANT"], values["XKBOPTIONS"]};
}

XkbKeymapChoice FromX11(xkb_context* context) {
  XkbKeymapChoice choice;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return choice;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) == 0 &&
      xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr) != 0) {
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device >= 0) {
      choice.keymap =
          xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
      if (choice.keymap != nullptr) {
        if (xkb_state* state = xkb_x11_state_new_from_device(choice.keymap, connection, device)) {
          choice.layoutIndex = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
          xkb_state_unref(state);
        }
        const char* name = xkb_keymap_layout_get_name(choice.keymap, choice.layoutIndex);
        choice.description = std::string("x11:") + (name != nullptr ? name : "?");
      }
    }
  }
  xcb_disconnect(connection);
  return choice;
}

}  // namespace

XkbKeymapChoice LoadSessionKeymap(xkb_context* context) {
  XkbKeymapChoice choice = FromX11(context);
  if (choice.keymap != nullptr) return choice;
  RuleNames names = SystemDefaultNames();
  // A list such as "us,de" configures several groups; the first is the one in use at start.
  names.layout = names.layout.substr(0, names.layout.find(','));
  names.variant = names.variant.substr(0, names.variant.find(','));
  choice =
      FromRuleNames(context, names, "system:" + (names.layout.empty() ? "default" : names.layout));
  if (choice.keymap == nullptr) choice = FromRuleNames(context, {}, "default");
  if (choice.keymap == nullptr) DebugTrace("keyboard layout: no xkb keymap could be compiled\n");
  return choice;
}

XkbKeymapChoice LoadNamedKeymap(xkb_context* context, const std::string& name) {
  RuleNames names;
  names.layout = name;
  if (const auto open = name.find('('); open != std::string::npos && name.back() == ')') {
    names.layout = name.substr(0, open);
    names.variant = name.substr(open + 1, name.size() - open - 2);
  } else if (const auto colon = name.find(':'); colon != std::string::npos) {
    names.layout = name.substr(0, colon);
    names.variant = name.substr(colon + 1);
  }
  if (names.layout.empty()) return {};
  return FromRuleNames(context, names, name);
}

}  // namespace platform
