#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "PlatformTestSupport.h"
#include "platform/MessageIds.h"
#include "platform/ProcessLink.h"
#include "platform/PublishedWindows.h"

namespace platform::test {
namespace {

class WindowTest : public RuntimeFolderTest {};

TEST_F(WindowTest, HandlesAreUniqueAndCarryTheProcess) {
  RecordingWindow a, b;
  ASSERT_TRUE(a.Create(u"A", Rect{1, 2, 3, 4}));
  ASSERT_TRUE(b.Create(u"", Rect{}));
  EXPECT_NE(a.Handle(), b.Handle());
  EXPECT_EQ(a.Handle() >> 32, static_cast<std::uint64_t>(getpid()));
  EXPECT_NE(a.Handle(), kBroadcast);
  EXPECT_EQ(WindowFromHandle(a.Handle()), &a);
  EXPECT_EQ(a.WindowRect(), (Rect{1, 2, 3, 4}));
  EXPECT_FALSE(a.Create(u"again", Rect{}));
  EXPECT_EQ(a.received.front().message, WM_CREATE);
}

TEST_F(WindowTest, CreateFailsWhenTheProcedureRefusesOrTheParentIsNoWindow) {
  RecordingWindow refusing;
  refusing.onMessage = [](std::uint32_t message, WParam, LParam) -> LParam {
    return message == WM_CREATE ? -1 : 0;
  };
  EXPECT_FALSE(refusing.Create(u"Refusing", Rect{}));
  EXPECT_EQ(refusing.Handle(), 0u);
  EXPECT_EQ(FindTopLevelWindow(u"Refusing"), 0u);

  RecordingWindow orphan;
  EXPECT_FALSE(orphan.Create(u"", Rect{}, 0x1234500000001ull));
}

TEST_F(WindowTest, DestroyNotifiesParentThenChildrenAndOwnedWindows) {
  std::vector<Received> log;
  RecordingWindow parent(&log), child(&log), grandchild(&log), owned(&log);
  ASSERT_TRUE(parent.Create(u"Parent", Rect{}));
  ASSERT_TRUE(child.Create(u"Child", Rect{}, parent.Handle()));
  ASSERT_TRUE(grandchild.Create(u"", Rect{}, child.Handle()));
  ASSERT_TRUE(owned.Create(u"Owned", Rect{}, 0, parent.Handle()));
  EXPECT_EQ(parent.Children(), std::vector<WindowHandle>{child.Handle()});
  EXPECT_EQ(child.Parent(), parent.Handle());
  EXPECT_EQ(owned.Owner(), parent.Handle());
  const std::vector<Received> expected{{parent.Handle(), WM_DESTROY, 0, 0},
                                       {child.Handle(), WM_DESTROY, 0, 0},
                                       {grandchild.Handle(), WM_DESTROY, 0, 0},
                                       {owned.Handle(), WM_DESTROY, 0, 0}};
  log.clear();
  ASSERT_TRUE(PostToWindow(parent.Handle(), WM_CLOSE, 0, 0));
  ASSERT_TRUE(PumpUntil([&] { return parent.Handle() == 0; }));
  std::vector<Received> closing{{expected[0].window, WM_CLOSE, 0, 0}};
  closing.insert(closing.end(), expected.begin(), expected.end());
  EXPECT_EQ(log, closing);
  EXPECT_EQ(child.Handle(), 0u);
  EXPECT_EQ(grandchild.Handle(), 0u);
  EXPECT_EQ(owned.Handle(), 0u);
  EXPECT_EQ(FindTopLevelWindow(u"Owned"), 0u);
}

TEST_F(WindowTest, TitlesAreFoundCaseInsensitivelyAndFollowChanges) {
  RecordingWindow top, child;
  ASSERT_TRUE(top.Create(u"Tolvane PV37", Rect{}));
  ASSERT_TRUE(child.Create(u"Tolvane PV37", Rect{}, top.Handle()));
  EXPECT_EQ(FindTopLevelWindow(u"tolvane pv37"), top.Handle());
  EXPECT_EQ(FindChildWindow(top.Handle(), u"Tolvane PV37"), child.Handle());
  EXPECT_EQ(FindChildWindow(child.Handle(), u"Tolvane PV37"), 0u);
  top.SetTitle(u"Renamed");
  EXPECT_EQ(top.Title(), u"Renamed");
  EXPECT_EQ(FindTopLevelWindow(u"Tolvane PV37"), 0u);
  EXPECT_EQ(FindTopLevelWindow(u"Renamed"), top.Handle());
  EXPECT_EQ(FindTopLevelWindow(u""), 0u);
}

TEST_F(WindowTest, AnEarlierProcessWithOurIdLeavesNoTitlesBehind) {
  const std::string folder = TempRoot() + "/Tolvane PV37/";
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  const std::string table = folder + std::to_string(getpid()) + ".windows";
  const auto pid = static_cast<std::uint64_t>(getpid());
  std::ofstream(table, std::ios::binary)
      << EncodePublishedWindows({{pid << 32 | 0xFFFFFF, 0, u"Ghost"}});
  RecordingWindow window;
  ASSERT_TRUE(window.Create(u"", Rect{}));
  EXPECT_NE(access(table.c_str(), F_OK), 0);
}

TEST_F(WindowTest, AForkedChildGetsHandlesOfItsOwn) {
  ASSERT_EQ(ProcessLink::ProcessId(), getpid());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RecordingWindow window;
    const bool own = ProcessLink::ProcessId() == getpid() && window.Create(u"", Rect{}) &&
                     window.Handle() >> 32 == static_cast<std::uint64_t>(getpid());
    _exit(own ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(WindowTest, FlagsKeepTheirValues) {
  RecordingWindow window;
  ASSERT_TRUE(window.Create(u"", Rect{}));
  EXPECT_FALSE(window.IsVisible());
  EXPECT_TRUE(window.IsEnabled());
  window.SetVisible(true);
  window.SetEnabled(false);
  window.SetWindowRect(Rect{5, 6, 25, 46});
  EXPECT_TRUE(window.IsVisible());
  EXPECT_FALSE(window.IsEnabled());
  EXPECT_EQ(window.WindowRect().Width(), 20);
  EXPECT_EQ(window.WindowRect().Height(), 40);
}

}  // namespace
}  // namespace platform::test
