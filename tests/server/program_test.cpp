// The server program: its command line, and whole conversations over the
// pipe with the program running (the session's stand-in engine inside it),
// up to each of the ways it ends.
#include "program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "pipe.h"
#include "run_program.h"
#include "scratch.h"

namespace {

namespace Pipe = Windows::Pipe;
using Replies = std::vector<std::string>;

struct Line_Case {
  std::vector<std::string> Arguments;
  std::string Pipename;
  std::size_t Pipe_Length;
  std::uint32_t Wait_Ms;
  std::uint32_t Linger_Ms = 600000;
};

class Command_Line : public testing::TestWithParam<Line_Case> {};

TEST_P(Command_Line, IsReadAsTheClientWritesIt) {
  const std::optional<Server::Command_Line> Line = Server::Read_Command_Line(GetParam().Arguments);
  ASSERT_TRUE(Line.has_value());
  EXPECT_EQ(Line->Pipename, GetParam().Pipename);
  EXPECT_EQ(Line->Pipe_Length, GetParam().Pipe_Length);
  EXPECT_EQ(Line->Wait_Ms, GetParam().Wait_Ms);
  EXPECT_EQ(Line->Linger_Ms, GetParam().Linger_Ms);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Command_Line,
    testing::Values(Line_Case{{"Quorvel"}, "Quorvel", 1000, 60000},
                    Line_Case{{"Quorvel", "4000"}, "Quorvel", 4000, 60000},
                    Line_Case{{"Quorvel", "4_000"}, "Quorvel", 4000, 60000},
                    Line_Case{{"Quorvel", "1"}, "Quorvel", 1, 60000},
                    Line_Case{{"Quorvel", "0"}, "Quorvel", 1000, 60000},
                    Line_Case{{"Quorvel", "-5"}, "Quorvel", 1000, 60000},
                    Line_Case{{"Quorvel", "big"}, "Quorvel", 1000, 60000},
                    Line_Case{{"Quorvel", "2147483647"}, "Quorvel", 2147483647, 60000},
                    // Past what one Windows read reports: the client keeps 1000 too.
                    Line_Case{{"Quorvel", "2147483648"}, "Quorvel", 1000, 60000},
                    Line_Case{{"Quorvel", "4294968296"}, "Quorvel", 1000, 60000},
                    // The client's Pipelength "40 00" is no number to it either.
                    Line_Case{{"Quorvel", "40", "00"}, "Quorvel", 1000, 60000},
                    Line_Case{{"--wait=2.5", "Quorvel", "300"}, "Quorvel", 300, 2500},
                    Line_Case{{"--wait=0", "Quorvel"}, "Quorvel", 1000, 0},
                    Line_Case{{"--linger=0", "Quorvel"}, "Quorvel", 1000, 60000, 0},
                    Line_Case{{"--linger=1.5", "--wait=2", "Q", "300"}, "Q", 300, 2000, 1500},
                    Line_Case{{"--wait=2", "--linger=60", "Q"}, "Q", 1000, 2000, 60000},
                    // An option given twice is the pipename, as any other word.
                    Line_Case{{"--linger=1", "--linger=2"}, "--linger=2", 1000, 60000, 1000}));

TEST(Command_Line, WithoutAPipenameOrWithABadWaitIsRefused) {
  for (const std::vector<std::string>& Arguments :
       std::vector<std::vector<std::string>>{{},
                                             {""},
                                             {"--wait=1"},
                                             {"--wait=x", "Quorvel"},
                                             {"--linger=1", "--wait=1"},
                                             {"--linger=-1", "Quorvel"},
                                             {"--wait=1", "--linger=", "Quorvel"}}) {
    EXPECT_FALSE(Server::Read_Command_Line(Arguments).has_value()) << Arguments.size();
  }
}

TEST(Command_Line, WithoutAPipenameTheProgramSaysHowToRunIt) {
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_Beside_Tests("server-stand-in"), {});
  EXPECT_EQ(Run.Output,
            "Usage: quorvel-server [--wait=<seconds>] [--linger=<seconds>] <Pipename> "
            "[<Pipelength>]\r\n");
  EXPECT_EQ(Run.Status, Server::Failed);
}

// The program under test, started with a fresh pipe name, and the client
// end of its pipe.
class Running_Server {
 public:
  explicit Running_Server(
      std::vector<std::string> Extra = {}, std::size_t Pipe_Length = 1000,
      const std::string& Program_File = Test_Support::Program_Beside_Tests("server-stand-in"))
      : Name(Test_Support::Unique_Name("quorvel-server-test")),
        Length(Pipe_Length),
        Program(Program_File, With_Name(Extra)) {}

  // The server needs a moment to make its pipe: retry while there is none
  // (and, between two clients, while it is busy with the one before).
  void Connect(bool Retry_While_Busy = false) {
    const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      try {
        Pipe::Open(Client, Name, false, Pipe::Direction::Duplex, Length);
        return;
      } catch (const Pipe::No_Server&) {
        ASSERT_LT(std::chrono::steady_clock::now(), Until) << "the server made no pipe";
      } catch (const Pipe::Name_In_Use&) {
        ASSERT_TRUE(Retry_While_Busy) << "the pipe is busy";
        ASSERT_LT(std::chrono::steady_clock::now(), Until) << "the pipe stayed busy";
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  void Send(const std::string& Message) { Pipe::Write(Client, Message.data(), Message.size()); }

  std::string Reply() {
    std::vector<char> Buffer(Length);
    return std::string(Buffer.data(), Pipe::Read(Client, Buffer.data()));
  }

  // The replies to Message up to and including ".".
  Replies Lines(const std::string& Message) {
    Send(Message);
    Replies Got;
    while (Got.size() < 2000 && (Got.empty() || Got.back() != ".")) {
      Got.push_back(Reply());
    }
    return Got;
  }

  std::optional<int> Status(double Seconds = 20.0) { return Program.Wait(Seconds); }

  std::string Name;
  std::size_t Length;
  Pipe::Handle Client;

 private:
  std::vector<std::string> With_Name(std::vector<std::string> Extra) const {
    const auto Options = std::find_if(Extra.begin(), Extra.end(), [](const std::string& Word) {
      return !Word.starts_with("--");
    });
    Extra.insert(Options, Name);
    return Extra;
  }
  Test_Support::Child_Process Program;
};

TEST(Program, ServesAWholeConversationAndEndsAfterC) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("p.adb", "procedure P is\n  begin null; end $\n");
  Scratch.Write("q.adb", "begin\n  null;\n");
  Running_Server Server({"--linger=0"});
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("XAda95"), (Replies{"Compiler = Ada95", "."}));
  EXPECT_EQ(Server.Lines("P" + Scratch.Path()), (Replies{"Path = " + Scratch.Path(), "."}));
  EXPECT_EQ(Server.Lines("U9"), (Replies{"Units = 9", "."}));
  EXPECT_EQ(Server.Lines("U0"),
            (Replies{"Units \"0\" is not a whole number from 1 to 9; Units = 9 kept", "."}));
  EXPECT_EQ(Server.Lines("E1"), (Replies{"Errors = 1", "."}));
  EXPECT_EQ(Server.Lines("T600"), (Replies{"Timeout = 600 s", "."}));
  const std::string P = Scratch / "p.adb";
  EXPECT_EQ(Server.Lines("Op.adb"),
            (Replies{"<" + P + ":2:19: character '$' is not allowed", "."}));
  EXPECT_EQ(Server.Lines("Oq.adb"), (Replies{"Standard", "."}));
  Replies Tokens;
  for (Server.Send("N"), Tokens.push_back(Server.Reply());
       Tokens.back() != "0" && Tokens.size() < 20;
       Server.Send("N"), Tokens.push_back(Server.Reply())) {
  }
  EXPECT_EQ(Tokens, (Replies{"4,1,begin", "3,1,", "1,10,null;", "3,1,", "0"}));
  EXPECT_EQ(Server.Lines("what"), (Replies{"Unknown message \"what\"", "."}));
  Server.Send("C");
  EXPECT_EQ(Server.Status(), Server::Closed);
}

TEST(Program, AMessageLongerThanItsBufferIsReadWhole) {
  Running_Server Server({"--linger=0"});
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("U" + std::string(2500, ' ') + "4"), (Replies{"Units = 4", "."}));
  EXPECT_EQ(Server.Lines("U" + std::string(Server::Longest_Message + 10, '1')),
            (Replies{"Units value is too long; Units = 4 kept", "."}));
  EXPECT_EQ(Server.Lines("U5"), (Replies{"Units = 5", "."}));
  Server.Send("C");
  EXPECT_EQ(Server.Status(), Server::Closed);
}

TEST(Program, NoReplyIsLongerThanThePipelengthItWasGiven) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("ok.adb", "abcdefghijklm");
  Scratch.Write("long.adb", "abcdefghijklmn");
  Running_Server Server({"--linger=0", "17"}, 17);
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("XAda2012"), (Replies{"Compiler = Ada201", "."}));
  EXPECT_EQ(Server.Lines("XAda2"), (Replies{"Compiler \"Ada2\" i", "."}));
  const std::string Ok = Scratch / "ok.adb", Long = Scratch / "long.adb";
  EXPECT_EQ(Server.Lines("O" + Ok), (Replies{"Standard", "."}));
  Server.Send("N");
  EXPECT_EQ(Server.Reply(), "1,1,abcdefghijklm");
  EXPECT_EQ(Server.Lines("O" + Long), (Replies{("<" + Long).substr(0, 17), "."}));
  Server.Send("C");
  EXPECT_EQ(Server.Status(), Server::Closed);
}

TEST(Program, EndsWhenItsClientGoesAway) {
  Running_Server Server({"--linger=0"});
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("U4"), (Replies{"Units = 4", "."}));
  Pipe::Close(Server.Client);
  EXPECT_EQ(Server.Status(), Server::Client_Gone);
}

TEST(Program, EndsWhenItsClientIsSilentForTheTimeoutEvenWhenItWouldLinger) {
  Running_Server Server({"--linger=600"});
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("T0.5"), (Replies{"Timeout = 0.5 s", "."}));
  EXPECT_EQ(Server.Status(), Server::Idle);
}

// Its own status, so that the client that started it can tell another
// run's server from a failure.
TEST(Program, EndsWithItsOwnStatusWhenThePipeNameIsInUse) {
  Running_Server First({"--linger=0"});
  ASSERT_NO_FATAL_FAILURE(First.Connect());
  Test_Support::Child_Process Second(Test_Support::Program_Beside_Tests("server-stand-in"),
                                     {First.Name});
  EXPECT_EQ(Second.Wait(20.0), Server::Busy);
  First.Send("C");
  EXPECT_EQ(First.Status(), Server::Closed);
}

TEST(Program, EndsWhenNoClientComesInTime) {
  Running_Server Server({"--wait=0.5"});
  EXPECT_EQ(Server.Status(), Server::Failed);
}

// Serves a client whose conversation is the file p.adb (a setting changed
// first) and checks that its settings started from the defaults.
void Serve_One_Client(Running_Server& Server, const std::string& File, bool Says_C) {
  ASSERT_NO_FATAL_FAILURE(Server.Connect(true));
  EXPECT_EQ(Server.Lines("U"),
            (Replies{"Units \"\" is not a whole number from 1 to 9; Units = 3 kept", "."}));
  EXPECT_EQ(Server.Lines("X"), (Replies{"Compiler \"\" is not Ada83, Ada95, Ada2005, Ada2012 or "
                                        "Ada2022; Compiler = Ada2022 kept",
                                        "."}));
  EXPECT_EQ(Server.Lines("U7"), (Replies{"Units = 7", "."}));
  EXPECT_EQ(Server.Lines("XAda83"), (Replies{"Compiler = Ada83", "."}));
  EXPECT_EQ(Server.Lines("O" + File), (Replies{"Standard", "."}));
  Server.Send("N");
  EXPECT_EQ(Server.Reply(), "4,1,begin");
  // The client leaves the file's tokens unread: the next one has none.
  if (Says_C) {
    Server.Send("C");
  }
  Pipe::Close(Server.Client);
}

TEST(Program_Linger, ServesOneClientAfterAnotherEachFromTheDefaultSettings) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("q.adb", "begin\n  null;\n");
  Running_Server Server({"--linger=600"});
  for (const bool Says_C : {true, false, true}) {
    ASSERT_NO_FATAL_FAILURE(Serve_One_Client(Server, Scratch / "q.adb", Says_C));
  }
  ASSERT_NO_FATAL_FAILURE(Server.Connect(true));
  Server.Send("N");
  EXPECT_EQ(Server.Reply(), "0");
  EXPECT_FALSE(Server.Status(0.2).has_value());
}

TEST(Program_Linger, ByDefaultTheServerStaysForTheNextClient) {
  Running_Server Server;
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  Server.Send("C");
  Pipe::Close(Server.Client);
  ASSERT_NO_FATAL_FAILURE(Server.Connect(true));
  EXPECT_EQ(Server.Lines("U2"), (Replies{"Units = 2", "."}));
}

TEST(Program_Linger, ASecondClientMeanwhileFindsThePipeBusy) {
  Running_Server Server({"--linger=600"});
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("U4"), (Replies{"Units = 4", "."}));
  Pipe::Handle Second;
  EXPECT_THROW(Pipe::Open(Second, Server.Name, false, Pipe::Direction::Duplex, 1000),
               Pipe::Name_In_Use);
  EXPECT_EQ(Server.Lines("U5"), (Replies{"Units = 5", "."}));
  Server.Send("C");
  Pipe::Close(Server.Client);
  ASSERT_NO_FATAL_FAILURE(Server.Connect(true));
  EXPECT_EQ(Server.Lines("U6"), (Replies{"Units = 6", "."}));
}

// With a short linger the server ends by itself, with the status of how its
// last client left, and its pipe goes with it.
TEST(Program_Linger, NoNextClientWithinTheLingerEndsTheServer) {
  for (const bool Says_C : {true, false}) {
    Running_Server Server({"--linger=0.5"});
    ASSERT_NO_FATAL_FAILURE(Server.Connect());
    EXPECT_EQ(Server.Lines("U4"), (Replies{"Units = 4", "."}));
    if (Says_C) {
      Server.Send("C");
    }
    Pipe::Close(Server.Client);
    EXPECT_EQ(Server.Status(), Says_C ? Server::Closed : Server::Client_Gone);
    EXPECT_THROW(Pipe::Open(Server.Client, Server.Name, false, Pipe::Direction::Duplex, 1000),
                 Pipe::No_Server);
  }
}

// The program file is moved away (as Windows allows for a running program)
// and, for a replacement, another copy put in its place.
struct Replacement_Case {
  bool During_Conversation;
  bool Copy_Put_Back;
};

class Program_Replaced : public testing::TestWithParam<Replacement_Case> {};

TEST_P(Program_Replaced, EndsTheServerAfterItsClientAndTheNextRunFindsNoServer) {
  namespace fs = std::filesystem;
  Test_Support::Scratch_Folder Scratch;
  const fs::path Original = Test_Support::Program_Beside_Tests("server-stand-in");
  const fs::path Copy = Scratch / Original.filename().string();
  fs::copy_file(Original, Copy);
  Running_Server Server({"--linger=600"}, 1000, Copy.string());
  const auto Replace = [&] {
    fs::rename(Copy, Scratch / "moved-away");
    if (GetParam().Copy_Put_Back) {
      fs::copy_file(Original, Copy);
    }
  };
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  if (GetParam().During_Conversation) {
    Replace();
  }
  EXPECT_EQ(Server.Lines("U4"), (Replies{"Units = 4", "."}));
  Server.Send("C");
  Pipe::Close(Server.Client);
  if (!GetParam().During_Conversation) {
    ASSERT_NO_FATAL_FAILURE(Server.Connect(true));
    EXPECT_EQ(Server.Lines("U"),
              (Replies{"Units \"\" is not a whole number from 1 to 9; Units = 3 kept", "."}));
    Pipe::Close(Server.Client);
    Replace();
  }
  EXPECT_EQ(Server.Status(), Server::Replaced);
  EXPECT_THROW(Pipe::Open(Server.Client, Server.Name, false, Pipe::Direction::Duplex, 1000),
               Pipe::No_Server);
}

INSTANTIATE_TEST_SUITE_P(Moments, Program_Replaced,
                         testing::Values(Replacement_Case{true, true},
                                         Replacement_Case{true, false},
                                         Replacement_Case{false, true},
                                         Replacement_Case{false, false}));

}  // namespace
