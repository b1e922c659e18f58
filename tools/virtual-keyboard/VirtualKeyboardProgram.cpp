// pv37-virtual-keyboard: an emulated keyboard that programs using the HID library reach while
// it runs (with PV37_HID_BACKEND=virtual), and the command line that drives it.
#include <signal.h>

#include <cstdio>
#include <string>

#include "platform/hid/VirtualKeyboard.h"
#include "platform/hid/VirtualKeyboardControl.h"
#include "platform/hid/VirtualKeyboardServer.h"
#include "platform/hid/VirtualLink.h"

namespace {

tarnwick::VirtualKeyboardServer* g_server = nullptr;

void StopOnSignal(int) {
  if (g_server) g_server->Stop();
}

void PrintUsage() {
  std::fputs(
      "usage: pv37-virtual-keyboard run [--unplugged]   start the keyboard (plugged unless told)\n"
      "       pv37-virtual-keyboard <command> [args]    drive the running keyboard:\n",
      stderr);
  std::fputs(tarnwick::VirtualKeyboardServer::CommandHelp(), stderr);
}

int Run(bool plugged, const std::string& path) {
  tarnwick::VirtualKeyboard keyboard;
  if (plugged) keyboard.Plug();
  tarnwick::VirtualKeyboardServer server(keyboard);
  std::string error;
  if (!server.Listen(path, error)) {
    std::fprintf(stderr, "pv37-virtual-keyboard: %s\n", error.c_str());
    return 1;
  }
  g_server = &server;
  struct sigaction action {};
  action.sa_handler = StopOnSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::printf("virtual keyboard %s, listening on %s\n", plugged ? "plugged in" : "unplugged",
              path.c_str());
  std::fflush(stdout);
  server.Run();
  g_server = nullptr;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 2;
  }
  const std::string path = tarnwick::VirtualKeyboardSocketPath();
  if (path.empty()) {
    std::fputs("pv37-virtual-keyboard: the runtime folder cannot be used\n", stderr);
    return 1;
  }
  const std::string first = argv[1];
  if (first == "run") {
    if (argc > 3 || (argc == 3 && std::string(argv[2]) != "--unplugged")) {
      PrintUsage();
      return 2;
    }
    return Run(argc == 2, path);
  }
  if (first == "help" || first == "--help") {
    PrintUsage();
    return 0;
  }
  std::string commandLine;
  for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
  const tarnwick::ControlAnswer answer = tarnwick::SendVirtualKeyboardCommand(path, commandLine);
  if (!answer.reached) {
    std::fputs("pv37-virtual-keyboard: no virtual keyboard is running (start one with 'run')\n",
               stderr);
    return 1;
  }
  std::fputs(answer.text.c_str(), answer.ok ? stdout : stderr);
  return answer.ok ? 0 : 1;
}
