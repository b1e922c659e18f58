#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "PlatformTestSupport.h"
#include "platform/MessageIds.h"
#include "platform/WireMessage.h"

namespace platform::test {
namespace {

constexpr std::uint32_t kApplyAll = 1616;

struct PeerWindows {
  WindowHandle top = 0, second = 0, child = 0;
  std::uint32_t syncMessage = 0;
};

// Starts "serve <title>" and reads its ready line.
std::optional<PeerWindows> Serve(PeerProcess& peer) {
  const std::optional<std::string> line = peer.ReadLine();
  if (!line) return std::nullopt;
  std::istringstream fields(*line);
  std::string word;
  PeerWindows windows;
  if (!(fields >> word >> windows.top >> windows.second >> windows.child >> windows.syncMessage) ||
      word != "ready") {
    return std::nullopt;
  }
  return windows;
}

std::string Line(const char* window, std::uint32_t message, WParam wParam, LParam lParam) {
  return std::string(window) + " " + std::to_string(message) + " " + std::to_string(wParam) + " " +
         std::to_string(lParam);
}

class CrossProcessTest : public RuntimeFolderTest {
 protected:
  bool SendRaw(const void* bytes, std::size_t size) {
    const std::string path = TempRoot() + "/Tolvane PV37/" + std::to_string(getpid()) + ".sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool sent = sendto(fd, bytes, size, 0, reinterpret_cast<sockaddr*>(&address),
                             sizeof address) == static_cast<ssize_t>(size);
    close(fd);
    return sent;
  }
};

TEST_F(CrossProcessTest, AnotherProcessFindsOurWindowAndItsPostsArriveInOrder) {
  RecordingWindow top, child;
  ASSERT_TRUE(top.Create(u"PV37 Test_Hid", Rect{}));
  ASSERT_TRUE(child.Create(u"PV37 Test Page", Rect{}, top.Handle()));
  constexpr int kCount = 50;
  PeerProcess peer({"post", "PV37 Test_Hid", std::to_string(kApplyAll), std::to_string(kCount)});
  // More than the kernel buffers for us: the peer waits for room while we are not reading.
  ASSERT_TRUE(PumpUntil([&] { return top.UserMessages().size() == kCount; }));
  EXPECT_EQ(peer.ReadLine(), "posted");
  std::vector<Received> expected;
  for (int i = 0; i < kCount; ++i) {
    expected.push_back({top.Handle(), kApplyAll, static_cast<WParam>(i), -i});
  }
  EXPECT_EQ(top.UserMessages(), expected);
  EXPECT_TRUE(child.UserMessages().empty());
}

TEST_F(CrossProcessTest, WeFindTheOtherProcessWindowsAndPostToThem) {
  PeerProcess peer({"serve", "PV37 Peer"});
  const std::optional<PeerWindows> windows = Serve(peer);
  ASSERT_TRUE(windows);
  EXPECT_EQ(windows->top >> 32, static_cast<std::uint64_t>(peer.Pid()));

  const struct {
    std::u16string title;
    WindowHandle parent;
    WindowHandle expected;
  } lookups[] = {
      {u"PV37 Peer", 0, windows->top},
      {u"pv37 peer 2", 0, windows->second},
      {u"PV37 Peer Child", 0, 0},  // a child is not a top-level window
      {u"PV37 Peer Child", windows->top, windows->child},
      {u"PV37 Peer Child", windows->second, 0},
      {u"PV37 Nobody", 0, 0},
  };
  for (const auto& lookup : lookups) {
    const WindowHandle found = lookup.parent == 0 ? FindTopLevelWindow(lookup.title)
                                                  : FindChildWindow(lookup.parent, lookup.title);
    EXPECT_EQ(found, lookup.expected) << std::string(lookup.title.begin(), lookup.title.end());
  }

  // A missing title gives no handle, and posting to no handle is refused quietly.
  EXPECT_FALSE(PostToWindow(FindTopLevelWindow(u"PV37 Nobody"), kApplyAll, 0, 0));
  // A handle the peer does not have is dropped there.
  EXPECT_TRUE(PostToWindow(windows->top + 1000, WM_USER + 9, 9, 9));

  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(PostToWindow(windows->top, kApplyAll, static_cast<WParam>(i), -i));
    expected.push_back(Line("top", kApplyAll, static_cast<WParam>(i), -i));
  }
  ASSERT_TRUE(PostToWindow(windows->child, WM_USER + 1, ~0ull, INT64_MIN));
  expected.push_back(Line("child", WM_USER + 1, ~0ull, INT64_MIN));
  for (const std::string& line : expected) EXPECT_EQ(peer.ReadLine(), line);

  ASSERT_TRUE(PostToWindow(windows->top, WM_CLOSE, 0, 0));
  EXPECT_EQ(peer.Wait(), 0);
}

TEST_F(CrossProcessTest, BroadcastReachesEveryTopLevelWindowOfBothProcesses) {
  RecordingWindow top, child;
  ASSERT_TRUE(top.Create(u"PV37 Own", Rect{}));
  ASSERT_TRUE(child.Create(u"PV37 Own Child", Rect{}, top.Handle()));
  PeerProcess peer({"serve", "PV37 Peer"});
  const std::optional<PeerWindows> windows = Serve(peer);
  ASSERT_TRUE(windows);
  const std::uint32_t sync = RegisterMessageName(u"ORVI_DEV_SYNC");
  ASSERT_GE(sync, kFirstRegisteredMessage);
  EXPECT_EQ(windows->syncMessage, sync);

  ASSERT_TRUE(PostToWindow(kBroadcast, sync, 0, 2));
  ASSERT_TRUE(PumpUntil([&] { return !top.UserMessages().empty(); }));
  EXPECT_EQ(top.UserMessages(), (std::vector<Received>{{top.Handle(), sync, 0, 2}}));
  std::vector<std::string> lines{*peer.ReadLine(), *peer.ReadLine()};
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{Line("second", sync, 0, 2), Line("top", sync, 0, 2)}));

  // And from a third process, whose registration agrees as well.
  PeerProcess sender({"broadcast", "orvi_dev_sync", "1", "3"});
  EXPECT_EQ(sender.Wait(), 0);
  ASSERT_TRUE(PumpUntil([&] { return top.UserMessages().size() == 2; }));
  EXPECT_EQ(top.UserMessages().back(), (Received{top.Handle(), sync, 1, 3}));
  lines = {*peer.ReadLine(), *peer.ReadLine()};
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{Line("second", sync, 1, 3), Line("top", sync, 1, 3)}));
  EXPECT_TRUE(child.UserMessages().empty());
}

TEST_F(CrossProcessTest, KilledProcessWindowsAreNoLongerFound) {
  PeerProcess peer({"serve", "PV37 Doomed"});
  const std::optional<PeerWindows> windows = Serve(peer);
  ASSERT_TRUE(windows);
  ASSERT_EQ(FindTopLevelWindow(u"PV37 Doomed"), windows->top);
  const std::string files = TempRoot() + "/Tolvane PV37/" + std::to_string(peer.Pid());
  peer.Kill();
  EXPECT_EQ(FindTopLevelWindow(u"PV37 Doomed"), 0u);
  EXPECT_EQ(FindChildWindow(windows->top, u"PV37 Doomed Child"), 0u);
  EXPECT_FALSE(PostToWindow(windows->top, kApplyAll, 0, 0));
  for (const char* suffix : {".windows", ".lock", ".sock"}) {
    EXPECT_NE(access((files + suffix).c_str(), F_OK), 0) << suffix << " left behind";
  }
}

TEST_F(CrossProcessTest, MalformedDatagramsAreDropped) {
  RecordingWindow window;
  ASSERT_TRUE(window.Create(u"PV37 Target", Rect{}));
  const WireMessage good = EncodeWireMessage(window.Handle(), WM_USER + 5, 1, 2);
  WireMessage badMagic = good;
  badMagic.magic ^= 1;
  const WireMessage otherProcess = EncodeWireMessage(window.Handle() ^ (1ull << 40), WM_USER, 0, 0);
  char tooLong[sizeof good + 1] = {};
  std::memcpy(tooLong, &good, sizeof good);
  ASSERT_TRUE(SendRaw(&good, sizeof good - 1));
  ASSERT_TRUE(SendRaw(&badMagic, sizeof badMagic));
  ASSERT_TRUE(SendRaw(&otherProcess, sizeof otherProcess));
  ASSERT_TRUE(SendRaw(tooLong, sizeof tooLong));
  ASSERT_TRUE(SendRaw("", 0));
  ASSERT_TRUE(SendRaw(&good, sizeof good));
  ASSERT_TRUE(PumpUntil([&] { return !window.UserMessages().empty(); }));
  EXPECT_EQ(window.UserMessages(), (std::vector<Received>{{window.Handle(), WM_USER + 5, 1, 2}}));
}

TEST_F(CrossProcessTest, DatagramsFromAnotherUserAreDropped) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to send as another user";
  RecordingWindow window;
  ASSERT_TRUE(window.Create(u"PV37 Target", Rect{}));
  // Open the way on purpose, so only the sender check stands between the user and us.
  const std::string folder = TempRoot() + "/Tolvane PV37";
  const std::string path = folder + "/" + std::to_string(getpid()) + ".sock";
  ASSERT_EQ(chmod(TempRoot().c_str(), 0755), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0711), 0);
  ASSERT_EQ(chmod(path.c_str(), 0777), 0);
  const WireMessage foreign = EncodeWireMessage(window.Handle(), WM_USER + 6, 6, 6);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setuid(65534) != 0) _exit(2);
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    const bool sent = sendto(fd, &foreign, sizeof foreign, 0, reinterpret_cast<sockaddr*>(&address),
                             sizeof address) == static_cast<ssize_t>(sizeof foreign);
    _exit(sent ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the foreign datagram was not even sent";
  chmod(folder.c_str(), 0700);
  // The same record from us arrives, and is the first to arrive.
  const WireMessage ours = EncodeWireMessage(window.Handle(), WM_USER + 6, 7, 7);
  ASSERT_TRUE(SendRaw(&ours, sizeof ours));
  ASSERT_TRUE(PumpUntil([&] { return !window.UserMessages().empty(); }));
  EXPECT_EQ(window.UserMessages(), (std::vector<Received>{{window.Handle(), WM_USER + 6, 7, 7}}));
}

}  // namespace
}  // namespace platform::test
