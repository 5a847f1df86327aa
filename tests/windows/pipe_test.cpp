// Windows::Pipe between a server end and a client end in one process: the
// same cases on every backend.
#include "pipe.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "named_error.h"
#include "path_style.h"
#include "pipe_ends.h"
#include "scratch.h"

namespace {

using namespace Pipe_Ends;
using Pipe::Direction;
using Test_Support::Unique_Name;

// What a Read gave: the text, or "MORE:" and the buffer when More_Data.
std::string Read_Or_More(const Pipe::Handle& End, std::size_t Buffer_Length, double Timeout = 0.0) {
  std::vector<char> Buffer(Buffer_Length);
  try {
    const std::size_t Count = Pipe::Read(End, Buffer.data(), Timeout);
    return std::string(Buffer.data(), Count);
  } catch (const Pipe::More_Data&) {
    return "MORE:" + std::string(Buffer.data(), Buffer_Length);
  }
}

TEST(Pipe_Open, AMissingPipeHasNoServer) {
  Pipe::Handle Client;
  EXPECT_THROW(Pipe::Open(Client, Unique_Name("none"), false, Direction::Duplex, 64),
               Pipe::No_Server);
  EXPECT_EQ(Client, nullptr);
}

TEST(Pipe_Open, ChecksComeBeforeAnythingIsMade) {
  Pipe::Handle End;
  EXPECT_THROW(Pipe::Open(End, Unique_Name("none"), false, Direction::Duplex, 64, 1.0),
               Pipe::Not_Server);
  EXPECT_THROW(Pipe::Open(End, "", false, Direction::Duplex, 64, 1.0), Pipe::Not_Server);
  EXPECT_THROW(Pipe::Open(End, "", false, Direction::Duplex, 64), Constraint_Error);
  EXPECT_THROW(Pipe::Open(End, "", true, Direction::Duplex, 64, 1.0), Constraint_Error);
  EXPECT_THROW(Pipe::Open(End, Unique_Name("p"), true, Direction::Duplex, 64, -1.0),
               Constraint_Error);
  EXPECT_EQ(End, nullptr);
}

TEST(Pipe_Open, OneClientAndOneServerEndAtATime) {
  const std::string Name = Unique_Name("busy");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    EXPECT_EQ(Read_Text(End, 64, Generous_Seconds), "hello");
    Write_Text(End, "ready");
    return Read_Text(End, 64, Generous_Seconds);  // Broken once the client has gone
  });
  Pipe::Handle Client = Connect(Name);
  Write_Text(Client, "hello");
  EXPECT_EQ(Read_Text(Client), "ready");

  Pipe::Handle Second;
  EXPECT_THROW(Pipe::Open(Second, Name, false, Direction::Duplex, 64), Pipe::Name_In_Use);
  EXPECT_EQ(Second, nullptr);
  EXPECT_THROW(Pipe::Open(Second, Name, true, Direction::Duplex, 64, 0.5), Pipe::Name_In_Use);
  EXPECT_EQ(Second, nullptr);

  Pipe::Close(Client);
  EXPECT_THROW(Server.get(), Pipe::Broken);
}

TEST(Pipe_Open, AClientMayNotWaitAndLosesWhatItHeld) {
  const std::string Name = Unique_Name("nowait");
  auto Server = Serve(Name, [](Pipe::Handle& End) { return Read_Text(End, 64, Generous_Seconds); });
  Pipe::Handle Client = Connect(Name);
  EXPECT_THROW(Pipe::Open(Client, Name, false, Direction::Duplex, 64, 1.0), Pipe::Not_Server);
  EXPECT_EQ(Client, nullptr);
  EXPECT_THROW(Server.get(), Pipe::Broken);
}

TEST(Pipe_Open, AServerWaitingInVainLeavesNothingBehind) {
  const std::string Name = Unique_Name("vain");
  Pipe::Handle Server;
  EXPECT_THROW(Pipe::Open(Server, Name, true, Direction::Duplex, 64, 0.3), Pipe::Timeout);
  EXPECT_EQ(Server, nullptr);
  Pipe::Handle Client;
  EXPECT_THROW(Pipe::Open(Client, Name, false, Direction::Duplex, 64), Pipe::No_Server);
  // 0.0004 s rounds to 0 ms: the server end does not wait at all.
  EXPECT_THROW(Pipe::Open(Server, Name, true, Direction::Duplex, 64, 0.0004), Pipe::Timeout);
  EXPECT_EQ(Server, nullptr);
}

TEST(Pipe_Next_Client, OneAfterAnotherOnTheSamePipeEachAloneOnIt) {
  const std::string Name = Unique_Name("next");
  std::promise<void> Listening;
  auto Server = Serve(Name, [&Listening](Pipe::Handle& End) {
    Pipe::Wait_For_Client(End, 0.1);  // the first one is there already
    EXPECT_EQ(Read_Text(End, 64, Generous_Seconds), "first");
    Write_Text(End, "one");
    EXPECT_THROW(Read_Text(End, 64, Generous_Seconds), Pipe::Broken);
    Pipe::Listen_Again(End);
    EXPECT_THROW(Pipe::Wait_For_Client(End, 0.2), Pipe::Timeout);
    Listening.set_value();
    Pipe::Wait_For_Client(End, Generous_Seconds);
    Pipe::Wait_For_Client(End, Generous_Seconds);  // connected: returns at once
    EXPECT_EQ(Read_Text(End, 64, Generous_Seconds), "second");
    Write_Text(End, "two");
    return Read_Text(End, 64, Generous_Seconds);
  });
  Pipe::Handle First = Connect(Name);
  EXPECT_THROW(Pipe::Listen_Again(First), Pipe::Not_Server);
  EXPECT_THROW(Pipe::Wait_For_Client(First, 1.0), Pipe::Not_Server);
  Write_Text(First, "first");
  EXPECT_EQ(Read_Text(First), "one");
  Pipe::Handle Second;
  EXPECT_THROW(Pipe::Open(Second, Name, false, Direction::Duplex, 64), Pipe::Name_In_Use);
  Pipe::Close(First);
  Listening.get_future().wait();
  Pipe::Open(Second, Name, false, Direction::Duplex, 64);
  Write_Text(Second, "second");
  EXPECT_EQ(Read_Text(Second), "two");
  EXPECT_THROW(Pipe::Open(First, Name, false, Direction::Duplex, 64), Pipe::Name_In_Use);
  Pipe::Close(Second);
  EXPECT_THROW(Server.get(), Pipe::Broken);
  Pipe::Handle Null;
  EXPECT_THROW(Pipe::Listen_Again(Null), Pipe::No_Handle);
}

TEST(Pipe_Read, AClientMayNotWaitAndThePipeStaysAsItWas) {
  const std::string Name = Unique_Name("readwait");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    Write_Text(End, "one");
    return Read_Text(End, 64, Generous_Seconds);
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_THROW(Read_Text(Client, 64, 1.0), Pipe::Not_Server);
  EXPECT_EQ(Read_Text(Client), "one");
  Write_Text(Client, "two");
  EXPECT_EQ(Server.get(), "two");
}

TEST(Pipe_Read, AServerWaitingInVainMissesNoMessage) {
  const std::string Name = Unique_Name("late");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    std::vector<char> Buffer(64);
    EXPECT_THROW(Pipe::Read(End, Buffer.data(), 0.3), Pipe::Timeout);
    Write_Text(End, "timed out");
    return Read_Text(End, 64, Generous_Seconds);
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_EQ(Read_Text(Client), "timed out");
  Write_Text(Client, "late");
  EXPECT_EQ(Server.get(), "late");
}

// A client's reply limit: nothing comes in time, then the message that
// comes late is read whole, as on the server end. Over a network of
// sockets the limit also holds for a message that has begun
// (pipe_posix_test.cpp).
TEST(Pipe_Read, AClientReadWithinALimitMissesNoMessage) {
  const std::string Name = Unique_Name("within");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    const std::string Go = Read_Text(End, 64, Generous_Seconds);
    Write_Text(End, "late " + Go);
    return true;
  });
  Pipe::Handle Client = Connect(Name);
  std::vector<char> Buffer(64);
  EXPECT_THROW(Pipe::Read_Within(Client, Buffer.data(), 0.3), Pipe::Timeout);
  Write_Text(Client, "reply");
  const std::size_t Count = Pipe::Read_Within(Client, Buffer.data(), Generous_Seconds);
  EXPECT_EQ(std::string(Buffer.data(), Count), "late reply");
  EXPECT_TRUE(Server.get());
  EXPECT_THROW(Pipe::Read_Within(Client, Buffer.data(), 0.0), Constraint_Error);
}

TEST(Pipe_Length, APipelengthIsAWholeNumberAWindowsReadCanReport) {
  const std::vector<std::pair<std::string, std::optional<std::size_t>>> Table{
      {"1", 1},
      {"4000", 4000},
      {" 4_000 ", 4000},
      {"+17", 17},
      {"2147483647", 2147483647u},
      {"2147483648", std::nullopt},
      {"4294968296", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"0", std::nullopt},
      {"-5", std::nullopt},
      {"", std::nullopt},
      {"lots", std::nullopt},
      {"40 00", std::nullopt}};
  for (const auto& [Text, Length] : Table) {
    EXPECT_EQ(Pipe::Length_Value(Text), Length) << Text;
  }
}

TEST(Pipe_Read, ALongerMessageIsMoreDataAndTheRestComesNext) {
  const std::string Name = Unique_Name("more");
  auto Server = Serve(
      Name,
      [](Pipe::Handle& End) {
        for (const char* Text : {"12345678", "123456789", "ABCDEFGHIJKLMNOPQRST"}) {
          Write_Text(End, Text);
        }
        std::vector<std::string> Seen;
        for (int Message = 0; Message < 2; ++Message) {
          Seen.push_back(Read_Or_More(End, 8, Generous_Seconds));
        }
        return Seen;
      },
      8);
  Pipe::Handle Client = Connect(Name, 8);
  std::vector<std::string> Seen;
  for (int Message = 0; Message < 6; ++Message) {
    Seen.push_back(Read_Or_More(Client, 8));
  }
  EXPECT_EQ(Seen, (std::vector<std::string>{"12345678", "MORE:12345678", "9", "MORE:ABCDEFGH",
                                            "MORE:IJKLMNOP", "QRST"}));
  Write_Text(Client, "0123456789");
  EXPECT_EQ(Server.get(), (std::vector<std::string>{"MORE:01234567", "89"}));
}

TEST(Pipe_Read, AnEmptyMessageIsAMessage) {
  const std::string Name = Unique_Name("empty");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    Write_Text(End, "");
    Write_Text(End, "after");
    std::vector<std::string> Seen;
    for (int Message = 0; Message < 2; ++Message) {
      Seen.push_back(Read_Text(End, 64, Generous_Seconds));
    }
    return Seen;
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_EQ(Read_Text(Client), "");
  EXPECT_EQ(Read_Text(Client), "after");
  Write_Text(Client, "");
  Write_Text(Client, "x");
  EXPECT_EQ(Server.get(), (std::vector<std::string>{"", "x"}));
}

// What the end that stayed sees: the messages written before the close,
// then a broken pipe to read and a closing one to write to.
std::vector<std::string> After_The_Other_End_Closed(const Pipe::Handle& End, double Timeout) {
  std::vector<std::string> Seen{Read_Text(End, 64, Timeout)};
  try {
    Seen.push_back(Read_Text(End, 64, Timeout));
  } catch (const Pipe::Error& Failure) {
    Seen.emplace_back(Failure.name());
  }
  try {
    Write_Text(End, "anyone?");
  } catch (const Pipe::Error& Failure) {
    Seen.emplace_back(Failure.name());
  }
  return Seen;
}

TEST(Pipe_Close, TheOtherEndReadsWhatWasWrittenThenFindsThePipeBroken) {
  const std::vector<std::string> Expected{"last", "WINDOWS.PIPE.BROKEN", "WINDOWS.PIPE.NO_DATA"};
  const std::string Name = Unique_Name("closed");
  auto Server = Serve(Name, [](Pipe::Handle& End) {
    Write_Text(End, "last");
    Pipe::Close(End);
    return End == nullptr;
  });
  Pipe::Handle Client = Connect(Name);
  EXPECT_TRUE(Server.get());
  EXPECT_EQ(After_The_Other_End_Closed(Client, 0.0), Expected);

  const std::string Other_Name = Unique_Name("closed");
  auto Other_Server = Serve(Other_Name, [](Pipe::Handle& End) {
    return After_The_Other_End_Closed(End, Generous_Seconds);
  });
  Pipe::Handle Other_Client = Connect(Other_Name);
  Write_Text(Other_Client, "last");
  Pipe::Close(Other_Client);
  EXPECT_EQ(Other_Server.get(), Expected);
}

TEST(Pipe_Close, NullAndTwiceDoNoHarm) {
  Pipe::Handle Nothing;
  Pipe::Close(Nothing);
  EXPECT_EQ(Nothing, nullptr);
  std::vector<char> Buffer(8);
  EXPECT_THROW(Pipe::Read(Nothing, Buffer.data()), Pipe::No_Handle);
  EXPECT_THROW(Pipe::Read(Nothing, Buffer.data(), 1.0), Pipe::No_Handle);
  EXPECT_THROW(Pipe::Write(Nothing, "x", 1), Pipe::No_Handle);

  const std::string Name = Unique_Name("twice");
  auto Server = Serve(Name, [](Pipe::Handle& End) { return Read_Text(End, 64, Generous_Seconds); });
  Pipe::Handle Client = Connect(Name);
  Pipe::Close(Client);
  Pipe::Close(Client);
  EXPECT_EQ(Client, nullptr);
  EXPECT_THROW(Server.get(), Pipe::Broken);
}

TEST(Pipe_Messages, ManyInARowKeepTheirBoundaries) {
  std::vector<std::string> Sent;
  for (int Message = 0; Message < 40; ++Message) {
    Sent.emplace_back(static_cast<std::size_t>(Message * 7 % 50),
                      static_cast<char>('a' + Message % 26));
  }
  const std::string Name = Unique_Name("many");
  auto Server = Serve(Name, [Sent](Pipe::Handle& End) {
    std::vector<std::string> Got;
    for (std::size_t Message = 0; Message < Sent.size(); ++Message) {
      Got.push_back(Read_Text(End, 64, Generous_Seconds));
    }
    for (const std::string& Text : Got) {
      Write_Text(End, Text);
    }
    return Got;
  });
  Pipe::Handle Client = Connect(Name);
  for (const std::string& Text : Sent) {
    Write_Text(Client, Text);
  }
  std::vector<std::string> Echoed;
  for (std::size_t Message = 0; Message < Sent.size(); ++Message) {
    Echoed.push_back(Read_Text(Client));
  }
  EXPECT_EQ(Server.get(), Sent);
  EXPECT_EQ(Echoed, Sent);
}

// Messages longer than any buffer of the ends, written before the reader
// looks, among short ones: each piece and each boundary where it belongs.
TEST(Pipe_Messages, LongOnesAmongShortOnesKeepTheirBoundaries) {
  std::string Long;
  for (std::size_t I = 0; I < 20000; ++I) {
    Long.push_back(static_cast<char>('a' + I % 26));
  }
  const std::vector<std::string> Sent{"a", Long, "b", Long.substr(0, 5000), "c"};
  const std::string Name = Unique_Name("long");
  auto Server = Serve(
      Name,
      [Sent](Pipe::Handle& End) {
        for (const std::string& Text : Sent) {
          Write_Text(End, Text);
        }
        return Read_Or_More(End, 6000, Generous_Seconds);
      },
      6000);
  Pipe::Handle Client = Connect(Name, 6000);
  std::vector<std::string> Seen;
  for (int Piece = 0; Piece < 8; ++Piece) {
    Seen.push_back(Read_Or_More(Client, 6000));
  }
  EXPECT_EQ(Seen, (std::vector<std::string>{"a", "MORE:" + Long.substr(0, 6000),
                                            "MORE:" + Long.substr(6000, 6000),
                                            "MORE:" + Long.substr(12000, 6000), Long.substr(18000),
                                            "b", Long.substr(0, 5000), "c"}));
  Write_Text(Client, Long.substr(0, 6001));
  EXPECT_EQ(Server.get(), "MORE:" + Long.substr(0, 6000));
}

TEST(Pipe_Direction, EachEndOnlyGoesItsWay) {
  const std::string Name = Unique_Name("inbound");
  auto Server = Serve(
      Name,
      [](Pipe::Handle& End) {
        EXPECT_THROW(Write_Text(End, "back"), Pipe::Access_Denied);
        return Read_Text(End, 64, Generous_Seconds);
      },
      64, Direction::Inbound);
  Pipe::Handle Client = Connect(Name, 64, Direction::Inbound);
  EXPECT_THROW(Read_Text(Client), Pipe::Access_Denied);
  Write_Text(Client, "in");
  EXPECT_EQ(Server.get(), "in");

  const std::string Out_Name = Unique_Name("outbound");
  auto Out_Server = Serve(
      Out_Name,
      [](Pipe::Handle& End) {
        std::vector<char> Buffer(64);
        EXPECT_THROW(Pipe::Read(End, Buffer.data(), Generous_Seconds), Pipe::Access_Denied);
        Write_Text(End, "out");
        return true;
      },
      64, Direction::Outbound);
  Pipe::Handle Out_Client = Connect(Out_Name, 64, Direction::Outbound);
  EXPECT_THROW(Write_Text(Out_Client, "back"), Pipe::Access_Denied);
  EXPECT_EQ(Read_Text(Out_Client), "out");
  EXPECT_TRUE(Out_Server.get());
}

// On Windows the pipe's direction is a right of its handles: a client that
// asks to both read and write an inbound pipe is refused at Open. (The
// POSIX ends do not compare directions at Open.)
TEST(Pipe_Direction, AClientAskingForBothWaysOfAOneWayPipeIsRefusedOnWindows) {
  if (Windows::Native_Style != Windows::Path_Style::Windows) {
    GTEST_SKIP() << "POSIX ends do not compare directions at Open";
  }
  const std::string Name = Unique_Name("one-way");
  auto Server = std::async(std::launch::async, [&] {
    Pipe::Handle End;
    try {
      Pipe::Open(End, Name, true, Direction::Inbound, 64, 3.0);
    } catch (const Pipe::Timeout&) {
      return false;
    }
    return true;
  });
  Pipe::Handle Client;
  EXPECT_THROW(
      Retry_While_No_Server([&] { Pipe::Open(Client, Name, false, Direction::Duplex, 64); }),
      Pipe::Access_Denied);
  EXPECT_FALSE(Server.get());
}

}  // namespace
