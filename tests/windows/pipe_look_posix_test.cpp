// The POSIX pipe's looks before sleeping: what each result teaches, and what
// a look finds on a socket.
#include "pipe_look_posix.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace {

using namespace Windows::Pipe::Posix;

struct Learning_Case {
  const char* Name;
  Look_State Before;
  Look Result;
  bool Held_Up;
  Look_State After;
};

TEST(Pipe_Look, EachResultTeachesWhatItShould) {
  const Learning_Case Cases[] = {
      {"a first hold-up skips one read", {0, 0, 0}, Look::Ran_Out, true, {0, 1, 1}},
      {"hold-ups double the skips", {0, 0, 4}, Look::Ran_Out, true, {0, 8, 8}},
      {"the skips stop growing",
       {0, 0, Most_Skips},
       Look::Ran_Out,
       true,
       {0, Most_Skips, Most_Skips}},
      {"a look that ran out on another core skips nothing",
       {0, 0, 4},
       Look::Ran_Out,
       false,
       {0, 0, 4}},
      {"a message that came resets the penalty", {0, 0, 64}, Look::Came, false, {0, 0, 0}},
      {"a message there at once teaches nothing",
       {0, 0, 64},
       Look::Already_There,
       false,
       {0, 0, 64}},
  };
  for (const Learning_Case& Each : Cases) {
    Look_State State = Each.Before;
    Learn(State, Each.Result, Each.Held_Up);
    EXPECT_EQ(State.Skips, Each.After.Skips) << Each.Name;
    EXPECT_EQ(State.Penalty, Each.After.Penalty) << Each.Name;
  }
}

TEST(Pipe_Look, AfterAFailureTheEarnedReadsGoWithoutLooking) {
  Look_State State;
  Learn(State, Look::Ran_Out, true);
  Learn(State, Look::Ran_Out, true);
  EXPECT_FALSE(Should_Look(State));
  EXPECT_FALSE(Should_Look(State));
  EXPECT_TRUE(Should_Look(State));
  EXPECT_TRUE(Should_Look(State));
  EXPECT_EQ(State.Penalty, 2u);
}

class Socket_Pair : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, Ends), 0); }
  void TearDown() override {
    for (const int End : Ends) {
      if (End >= 0) {
        ::close(End);
      }
    }
  }
  int Ends[2] = {-1, -1};
};

TEST_F(Socket_Pair, AWaitingMessageIsAlreadyThereAndTaken) {
  ASSERT_EQ(::write(Ends[1], "N", 1), 1);
  char Into[16];
  std::size_t Got = 99;
  EXPECT_EQ(Look_For_Message(Ends[0], Into, sizeof Into, Got), Look::Already_There);
  ASSERT_EQ(Got, 1u);
  EXPECT_EQ(Into[0], 'N');
}

TEST_F(Socket_Pair, ALookForAMessageThatNeverComesRunsOutTakingNothing) {
  char Into[16];
  std::size_t Got = 99;
  EXPECT_EQ(Look_For_Message(Ends[0], Into, sizeof Into, Got), Look::Ran_Out);
  EXPECT_EQ(Got, 0u);
}

TEST_F(Socket_Pair, AGoneOtherEndEndsTheLookAtOnceForTheReceiveToReport) {
  ::close(Ends[1]);
  Ends[1] = -1;
  char Into[16];
  std::size_t Got = 99;
  EXPECT_EQ(Look_For_Message(Ends[0], Into, sizeof Into, Got), Look::Already_There);
  EXPECT_EQ(Got, 0u);
  EXPECT_EQ(::recv(Ends[0], Into, sizeof Into, 0), 0);
}

TEST(Pipe_Look, TheLastProcessorIsTheThirtyNinthFieldOfTheStatLine) {
  const std::string Fields =
      " R 1 1 1 0 -1 4194304 132 0 0 0 0 0 0 0 20 0 1 0 1431596 3133440 388 "
      "18446744073709551615 1 1 1 0 0 0 0 0 0 0 0 0 17 ";
  struct Case {
    std::string Stat;
    int Processor;
  };
  const Case Cases[] = {
      {"16904 (cat)" + Fields + "1 0 0 0 0", 1},
      {"16904 (a (b) c)" + Fields + "13 0 0", 13},  // parentheses in the name
      {"16904 (x) y)" + Fields + "7 0", 7},         // the last ')' ends the name
      {"16904 (cat)" + Fields, -1},                 // the line ends before the field
      {"16904 (cat) R 1 2", -1},
      {"no name at all", -1},
  };
  for (const Case& Each : Cases) {
    EXPECT_EQ(Last_Processor(Each.Stat), Each.Processor) << Each.Stat;
  }
}

TEST(Pipe_Look, ThisProcessSharesItsOwnCoreAndAnUnknownProcessCountsAsSharing) {
  EXPECT_TRUE(Shares_This_Core(0));
  // Held on one processor, so that it cannot move between the two reads.
  cpu_set_t Before;
  ASSERT_EQ(::sched_getaffinity(0, sizeof Before, &Before), 0);
  cpu_set_t One;
  CPU_ZERO(&One);
  CPU_SET(static_cast<unsigned>(::sched_getcpu()), &One);
  ASSERT_EQ(::sched_setaffinity(0, sizeof One, &One), 0);
  EXPECT_TRUE(Shares_This_Core(::getpid()));
  ::sched_setaffinity(0, sizeof Before, &Before);
}

}  // namespace
