// The server program: its command line, and whole conversations over the
// pipe with the program running (the session's stand-in engine inside it),
// up to each of the ways it ends.
#include "program.h"

#include <gtest/gtest.h>

#include <chrono>
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
};

class Command_Line : public testing::TestWithParam<Line_Case> {};

TEST_P(Command_Line, IsReadAsTheClientWritesIt) {
  const std::optional<Server::Command_Line> Line = Server::Read_Command_Line(GetParam().Arguments);
  ASSERT_TRUE(Line.has_value());
  EXPECT_EQ(Line->Pipename, GetParam().Pipename);
  EXPECT_EQ(Line->Pipe_Length, GetParam().Pipe_Length);
  EXPECT_EQ(Line->Wait_Ms, GetParam().Wait_Ms);
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
                    Line_Case{{"--wait=0", "Quorvel"}, "Quorvel", 1000, 0}));

TEST(Command_Line, WithoutAPipenameOrWithABadWaitIsRefused) {
  for (const std::vector<std::string>& Arguments :
       std::vector<std::vector<std::string>>{{}, {""}, {"--wait=1"}, {"--wait=x", "Quorvel"}}) {
    EXPECT_FALSE(Server::Read_Command_Line(Arguments).has_value()) << Arguments.size();
  }
}

TEST(Command_Line, WithoutAPipenameTheProgramSaysHowToRunIt) {
  const Test_Support::Program_Result Run =
      Test_Support::Run_Program(Test_Support::Program_Beside_Tests("server-stand-in"), {});
  EXPECT_EQ(Run.Output, "Usage: quorvel-server [--wait=<seconds>] <Pipename> [<Pipelength>]\r\n");
  EXPECT_EQ(Run.Status, Server::Failed);
}

// The program under test, started with a fresh pipe name, and the client
// end of its pipe.
class Running_Server {
public:
  explicit Running_Server(std::vector<std::string> Extra = {}, std::size_t Pipe_Length = 1000)
      : Name(Test_Support::Unique_Name("quorvel-server-test")),
        Length(Pipe_Length),
        Program(Test_Support::Program_Beside_Tests("server-stand-in"), With_Name(Extra)) {}

  // The server needs a moment to make its pipe: retry while there is none.
  void Connect() {
    const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      try {
        Pipe::Open(Client, Name, false, Pipe::Direction::Duplex, Length);
        return;
      } catch (const Pipe::No_Server&) {
        ASSERT_LT(std::chrono::steady_clock::now(), Until) << "the server made no pipe";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
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
    Extra.insert(Extra.begin() + (Extra.empty() || !Extra[0].starts_with("--") ? 0 : 1), Name);
    return Extra;
  }
  Test_Support::Child_Process Program;
};

TEST(Program, ServesAWholeConversationAndEndsAfterC) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Write("p.adb", "procedure P is\n  begin null; end $\n");
  Scratch.Write("q.adb", "begin\n  null;\n");
  Running_Server Server;
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
  Running_Server Server;
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
  Running_Server Server({"17"}, 17);
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
  Running_Server Server;
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("U4"), (Replies{"Units = 4", "."}));
  Pipe::Close(Server.Client);
  EXPECT_EQ(Server.Status(), Server::Client_Gone);
}

TEST(Program, EndsWhenItsClientIsSilentForTheTimeout) {
  Running_Server Server;
  ASSERT_NO_FATAL_FAILURE(Server.Connect());
  EXPECT_EQ(Server.Lines("T0.5"), (Replies{"Timeout = 0.5 s", "."}));
  EXPECT_EQ(Server.Status(), Server::Idle);
}

// Its own status, so that the client that started it can tell another
// run's server from a failure.
TEST(Program, EndsWithItsOwnStatusWhenThePipeNameIsInUse) {
  Running_Server First;
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

}  // namespace
