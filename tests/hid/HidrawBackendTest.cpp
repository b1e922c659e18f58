#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

#include "platform/hid/HidrawBackend.h"
#include "tests/hid/WaitingListener.h"

namespace tarnwick {
namespace {

// The backend's node handling over a socket pair standing in for /dev/hidrawN: one packet per
// report, and a closed peer behaves like an unplugged device (EPIPE on write, end of file on
// read). Nothing here touches /dev.
class HidrawBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    signal(SIGPIPE, SIG_IGN);  // a socket, unlike a hidraw node, would raise it on EPIPE
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, m_pair), 0);
    ASSERT_TRUE(backend.Start(listener));
    backend.AdoptNode(kInterface, m_pair[0], "/dev/hidraw4");
  }
  void TearDown() override {
    backend.Stop();
    if (m_pair[1] >= 0) close(m_pair[1]);
  }
  void Unplug() {
    close(m_pair[1]);
    m_pair[1] = -1;
  }
  int Device() const { return m_pair[1]; }

  static constexpr HidInterfaceInfo kInterface{5, 0x1EA7, 0x0077, 0xFF01, 2, 0x0105};
  static constexpr std::array<std::uint8_t, 8> kRefresh{0x0A, 0x03, 0x01};
  WaitingListener listener;
  HidrawBackend backend{HidrawBackend::Discovery::kNone};

 private:
  int m_pair[2] = {-1, -1};
};

TEST_F(HidrawBackendTest, ReadsReportsOnItsThreadAndWritesThem) {
  const std::uint8_t report[] = {0x08, 0x0F, 0x01};
  ASSERT_EQ(send(Device(), report, sizeof report, 0), 3);
  EXPECT_EQ(listener.WaitFor(2), (std::vector<std::string>{"opened 5", "input 5: 8 15 1"}));

  EXPECT_EQ(backend.Write(5, kRefresh), WriteResult::kWritten);
  std::array<std::uint8_t, 16> received{};
  ASSERT_EQ(recv(Device(), received.data(), received.size(), 0), 8);
  EXPECT_EQ((std::array<std::uint8_t, 3>{received[0], received[1], received[2]}),
            (std::array<std::uint8_t, 3>{0x0A, 0x03, 0x01}));
  EXPECT_EQ(backend.Write(9, kRefresh), WriteResult::kDeviceGone) << "no such node";
}

TEST_F(HidrawBackendTest, UnplugDuringAWriteFailsItAndIsAnnouncedOnce) {
  listener.WaitFor(1);
  Unplug();
  EXPECT_EQ(backend.Write(5, kRefresh), WriteResult::kDeviceGone);
  EXPECT_EQ(listener.WaitFor(2).back(), "closed 5") << "announced by the failing write itself";
  EXPECT_EQ(backend.Write(5, kRefresh), WriteResult::kDeviceGone);
  backend.Stop();  // the reader thread has seen the hang-up too by now or never will
  EXPECT_EQ(listener.WaitFor(2), (std::vector<std::string>{"opened 5", "closed 5"}));
}

TEST_F(HidrawBackendTest, UnplugWhileIdleIsAnnouncedByTheReader) {
  Unplug();
  EXPECT_EQ(listener.WaitFor(2), (std::vector<std::string>{"opened 5", "closed 5"}));
  EXPECT_EQ(backend.Write(5, kRefresh), WriteResult::kDeviceGone);
  backend.Stop();
  EXPECT_EQ(listener.WaitFor(2).size(), 2u);
}

}  // namespace
}  // namespace tarnwick
