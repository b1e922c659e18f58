#include "PlatformTestSupport.h"
#include "platform/NamedMutex.h"

namespace platform::test {
namespace {

class NamedMutexTest : public RuntimeFolderTest {};

constexpr char kName[] = "Tolvane PV37_Hid_MUTEX";

TEST_F(NamedMutexTest, FirstHolderWinsUntilItReleases) {
  NamedMutex first(kName), second(kName), other("Another");
  EXPECT_TRUE(first.TryAcquire());
  EXPECT_TRUE(first.TryAcquire());  // holding it again is no conflict
  EXPECT_FALSE(second.TryAcquire());
  EXPECT_TRUE(other.TryAcquire());
  first.Release();
  EXPECT_FALSE(first.IsHeld());
  EXPECT_TRUE(second.TryAcquire());
}

TEST_F(NamedMutexTest, NamesThatWouldLeaveTheFolderAreRefused) {
  for (const char* name : {"", ".", "..", "../escape", "a/b"}) {
    NamedMutex mutex(name);
    EXPECT_FALSE(mutex.TryAcquire()) << '"' << name << '"';
  }
}

TEST_F(NamedMutexTest, AnotherProcessIsRefusedWhileWeHoldIt) {
  NamedMutex mutex(kName);
  ASSERT_TRUE(mutex.TryAcquire());
  PeerProcess peer({"mutex", kName});
  EXPECT_EQ(peer.ReadLine(), "refused");
  mutex.Release();
  PeerProcess later({"mutex", kName});
  EXPECT_EQ(later.ReadLine(), "held");
}

TEST_F(NamedMutexTest, ReleasedWhenTheHolderDies) {
  PeerProcess holder({"mutex", kName});
  ASSERT_EQ(holder.ReadLine(), "held");
  NamedMutex mutex(kName);
  EXPECT_FALSE(mutex.TryAcquire());
  holder.Kill();
  EXPECT_TRUE(mutex.TryAcquire());
}

}  // namespace
}  // namespace platform::test
