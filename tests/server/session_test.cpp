// The session's answers to files, tokens, the end and to anything else,
// against the engine stand-in (fake_formatter.h), so that every reply is
// known byte for byte.
#include "session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fake_formatter.h"
#include "path_style.h"
#include "scratch.h"
#include "source_file.h"

namespace {

using Replies = std::vector<std::string>;
using Test_Support::Scratch_Folder;

// The engine of every session here.
Fake_Formatter::Engine Stand_In;

// Sends "N" until "0" (at most Limit times) and returns every reply.
Replies Token_Stream(Server::Session& Conversation, std::size_t Limit = 10000) {
  Replies Stream;
  while (Stream.size() < Limit) {
    const Replies One = Conversation.Answer("N");
    EXPECT_EQ(One.size(), 1u);
    Stream.push_back(One.front());
    if (One.front() == "0") {
      break;
    }
  }
  return Stream;
}

TEST(Open, AReadableFileGivesTheStyleThenItsTokensThenZero) {
  Scratch_Folder Scratch;
  Scratch.Write("p.adb", "procedure P is\r\n   begin\n null;\rend   P;");
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "p.adb")), (Replies{"Standard", "."}));
  EXPECT_EQ(Token_Stream(Conversation),
            (Replies{"4,1,procedure", "1,11,P", "4,13,is", "3,1,", "4,4,begin", "3,1,", "1,4,null;",
                     "3,1,", "4,1,end", "1,5,P;", "0"}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

TEST(Open, TheSettingsInForceReachTheEngine) {
  Scratch_Folder Scratch;
  Scratch.Write("i.ads", "  interface some\n");
  Server::Session Conversation(Stand_In);
  Conversation.Answer("U5");
  Conversation.Answer("XAda95");
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "i.ads")), (Replies{"Standard", "."}));
  EXPECT_EQ(Stand_In.Last_Settings.Units, 5);
  EXPECT_EQ(Stand_In.Last_Settings.Language, Formatter::Edition::Ada95);
  EXPECT_EQ(Token_Stream(Conversation), (Replies{"1,6,interface", "1,16,some", "3,1,", "0"}));
  Conversation.Answer("XAda2012");
  Conversation.Answer("O" + (Scratch / "i.ads"));
  EXPECT_EQ(Token_Stream(Conversation), (Replies{"4,6,interface", "4,16,some", "3,1,", "0"}));
}

TEST(Open, AnEmptyFileHasAStyleAndNoToken) {
  Scratch_Folder Scratch;
  Scratch.Write("empty.adb", "");
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "empty.adb")), (Replies{"Standard", "."}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

TEST(Open, AFileThatCannotBeReadGivesOneErrorLine) {
  Scratch_Folder Scratch;
  Scratch.Make_Folder("folder.adb");
  const std::string Missing = Scratch / "missing.adb", Folder = Scratch / "folder.adb";
  const std::string Device =
      Windows::Native_Style == Windows::Path_Style::Windows ? "NUL" : "/dev/zero";
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Missing),
            (Replies{"<" + Missing + ":1:1: no such file", "."}));
  EXPECT_EQ(Conversation.Answer("O" + Folder),
            (Replies{"<" + Folder + ":1:1: is a folder, not a file", "."}));
  EXPECT_EQ(Conversation.Answer("O" + Device),
            (Replies{"<" + Device + ":1:1: is not a plain file", "."}));
  EXPECT_EQ(Conversation.Answer("O"), (Replies{"<no file name given", "."}));
  EXPECT_EQ(Conversation.Answer("O" + std::string(Server::Longest_Message, 'a')),
            (Replies{"<" + std::string(80, 'a') + "...: the file name is too long", "."}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

// Refused by its size, before a byte of it is read (a sparse file: its size
// costs no disk).
TEST(Open, AFileBeyondTheLongestSourceIsRefusedUnread) {
  Scratch_Folder Scratch;
  Scratch.Write("huge.adb", "");
  const std::string Huge = Scratch / "huge.adb";
  std::filesystem::resize_file(Huge, Server::Longest_Source + 1);
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Huge),
            (Replies{"<" + Huge + ":1:1: the file is too large to format", "."}));
}

TEST(Read_Whole_File, NeverReadsPastItsLimit) {
  Scratch_Folder Scratch;
  Scratch.Write("nine.adb", "123456789");
  std::string Text = "old";
  EXPECT_EQ(Server::Read_Whole_File(Scratch / "nine.adb", Text, 9), Server::Read_Outcome::Read);
  EXPECT_EQ(Text, "123456789");
  EXPECT_EQ(Server::Read_Whole_File(Scratch / "nine.adb", Text, 8),
            Server::Read_Outcome::Beyond_Limit);
  EXPECT_EQ(Text, "");
  // A file that holds more than its size says, as one that grows while it
  // is read: the read itself stops one byte past the limit.
  if (std::filesystem::exists("/proc/self/status")) {
    EXPECT_EQ(Server::Read_Whole_File("/proc/self/status", Text, 16),
              Server::Read_Outcome::Beyond_Limit);
    EXPECT_EQ(Text, "");
  }
}

TEST(Open, ANameWithANulIsNotCutShort) {
  Scratch_Folder Scratch;
  Scratch.Write("p.adb", "null");
  const std::string Name = (Scratch / "p.adb") + std::string(1, '\0') + "x";
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Name),
            (Replies{"<" + Server::Printable(Name) + ":1:1: no such file", "."}));
}

TEST(Open, ANameWithoutFolderIsLookedForInThePathFolders) {
  Scratch_Folder Scratch;
  Scratch.Make_Folder("first");
  Scratch.Write("second/only_here.adb", "null");
  Scratch.Write("third/only_here.adb", "end");
  const std::string Name = Test_Support::Unique_Name("only_here") + ".adb";
  Scratch.Write("second/" + Name, "null");
  Scratch.Write("third/" + Name, "end");
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Name), (Replies{"<" + Name + ":1:1: no such file", "."}));
  Conversation.Answer("P" + (Scratch / "first") + ";" + (Scratch / "second") + ";" +
                      (Scratch / "third"));
  EXPECT_EQ(Conversation.Answer("O" + Name), (Replies{"Standard", "."}));
  EXPECT_EQ(Token_Stream(Conversation), (Replies{"4,1,null", "0"}));
  // A name with a folder is taken as given, never looked up.
  EXPECT_EQ(Conversation.Answer("O" + Test_Support::Native("x/" + Name)).front(),
            "<" + Test_Support::Native("x/" + Name) + ":1:1: no such file");
}

TEST(Open, ErrorLinesAreCappedByTheErrorsSetting) {
  Scratch_Folder Scratch;
  std::string Source;
  for (int Line = 1; Line <= 15; ++Line) {
    Source += "x $\n";
  }
  Scratch.Write("bad.adb", Source);
  const std::string Name = Scratch / "bad.adb";
  Replies Fifteen;
  for (int Line = 1; Line <= 15; ++Line) {
    Fifteen.push_back("<" + Name + ":" + std::to_string(Line) + ":3: character '$' is not allowed");
  }
  const auto First = [&](std::size_t Count) {
    Replies Lines(Fifteen.begin(), Fifteen.begin() + static_cast<std::ptrdiff_t>(Count));
    Lines.push_back(".");
    return Lines;
  };
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Name), First(10));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
  Conversation.Answer("E3");
  EXPECT_EQ(Conversation.Answer("O" + Name), First(3));
  Conversation.Answer("E1");
  EXPECT_EQ(Conversation.Answer("O" + Name), First(1));
  Conversation.Answer("E1000");
  EXPECT_EQ(Conversation.Answer("O" + Name), First(15));
}

TEST(Open, AnEngineFailureIsAnErrorLineNotACrash) {
  Scratch_Folder Scratch;
  Scratch.Write("t.adb", "x #throw");
  const std::string Name = Scratch / "t.adb";
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("O" + Name),
            (Replies{"<" + Name + ":1:1: formatter failure: engine stand-in failed", "."}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

TEST(Open, ANewFileReplacesOneHalfRead) {
  Scratch_Folder Scratch;
  Scratch.Write("a.adb", "a1 a2 a3");
  Scratch.Write("b.adb", "b1");
  Server::Session Conversation(Stand_In);
  Conversation.Answer("O" + (Scratch / "a.adb"));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"1,1,a1"}));
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "b.adb")), (Replies{"Standard", "."}));
  EXPECT_EQ(Token_Stream(Conversation), (Replies{"1,1,b1", "0"}));
  Conversation.Answer("O" + (Scratch / "a.adb"));
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "missing.adb")).size(), 2u);
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

// "1,1," and the text: a reply of exactly Pipe_Length bytes is sent, one
// byte more and the file is refused before its style, so that the client
// skips it instead of meeting a reply it cannot read.
TEST(Open, ATokenLongerThanAReplyRefusesTheFile) {
  Scratch_Folder Scratch;
  Scratch.Write("fits.adb", "x\n" + std::string(996, 'f'));
  Scratch.Write("long.adb", "x\n" + std::string(997, 'g'));
  Server::Session Conversation(Stand_In, 1000);
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "fits.adb")), (Replies{"Standard", "."}));
  EXPECT_EQ(Token_Stream(Conversation),
            (Replies{"1,1,x", "3,1,", "1,1," + std::string(996, 'f'), "0"}));
  const std::string Long = Scratch / "long.adb";
  EXPECT_EQ(Conversation.Answer("O" + Long),
            (Replies{"<" + Long +
                         ":2:1: a token of 997 characters does not fit in a reply of 1000 "
                         "(Pipelength)",
                     "."}));
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
}

TEST(Open, TheStyleIsLeftOutWhenItDoesNotFit) {
  Scratch_Folder Scratch;
  Scratch.Write("p.adb", "a");
  Server::Session Conversation(Stand_In, 7);
  EXPECT_EQ(Conversation.Answer("O" + (Scratch / "p.adb")), (Replies{"."}));
  EXPECT_EQ(Token_Stream(Conversation), (Replies{"1,1,a", "0"}));
  EXPECT_EQ(Conversation.Answer("Omissing"), (Replies{"<missin", "."}));
}

TEST(Tokens, WithoutAnOpenFileTheAnswerIsZero) {
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("N"), (Replies{"0"}));
  EXPECT_EQ(Conversation.Answer("Nmore"), (Replies{"0"}));
}

TEST(Close, EndsTheConversation) {
  Scratch_Folder Scratch;
  Scratch.Write("p.adb", "a b");
  Server::Session Conversation(Stand_In);
  Conversation.Answer("O" + (Scratch / "p.adb"));
  EXPECT_FALSE(Conversation.Finished());
  EXPECT_EQ(Conversation.Answer("C"), Replies{});
  EXPECT_TRUE(Conversation.Finished());
  EXPECT_EQ(Conversation.Answer("N"), Replies{});
  EXPECT_EQ(Conversation.Answer("U4"), Replies{});
}

struct Garbage_Case {
  std::string Message;
  std::string Line;
};

class Garbage : public testing::TestWithParam<Garbage_Case> {};

TEST_P(Garbage, GetsOneLineThenTheEndMark) {
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer(GetParam().Message), (Replies{GetParam().Line, "."}));
  EXPECT_FALSE(Conversation.Finished());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Garbage,
    testing::Values(Garbage_Case{"", "Empty message"}, Garbage_Case{"Z", "Unknown message \"Z\""},
                    Garbage_Case{"o/tmp/x.adb", "Unknown message \"o/tmp/x.adb\""},
                    Garbage_Case{"c", "Unknown message \"c\""},
                    Garbage_Case{".", "Unknown message \".\""},
                    Garbage_Case{std::string("\0\x01\n\xFF", 4), "Unknown message \"???\xFF\""},
                    Garbage_Case{"Q" + std::string(200, 'q'),
                                 "Unknown message \"Q" + std::string(79, 'q') + "...\""}));

// Random bytes, and random messages built from the commands, in any order:
// nothing throws, no reply is longer than the client reads, every setting,
// "O" and unknown message ends with ".", every "N" has exactly one reply.
TEST(Random, AnyMessagesInAnyOrderGetWellFormedReplies) {
  Scratch_Folder Scratch;
  Scratch.Write("r.adb", "procedure R is\n  begin\n    null;\nend R;\n");
  Scratch.Write("e.adb", "$ $ $");
  const std::vector<std::string> Stems{"N",
                                       "N",
                                       "N",
                                       "O" + (Scratch / "r.adb"),
                                       "O" + (Scratch / "e.adb"),
                                       "Onone",
                                       "U",
                                       "E",
                                       "X",
                                       "T",
                                       "P",
                                       "C",
                                       ""};
  std::mt19937 Random(20261208);
  for (int Round = 0; Round < 200; ++Round) {
    const std::size_t Limit = 1 + Random() % 40;
    Server::Session Conversation(Stand_In, Limit);
    for (int Step = 0; Step < 50 && !Conversation.Finished(); ++Step) {
      std::string Message = Stems[Random() % Stems.size()];
      for (std::size_t Extra = Random() % (Message.size() <= 1 ? 6 : 1); Extra > 0; --Extra) {
        Message += static_cast<char>(Random() % 256);
      }
      if (Random() % 4 == 0) {
        Message.assign(Random() % 12, '\0');
        for (char& Byte : Message) {
          Byte = static_cast<char>(Random() % 256);
        }
      }
      Replies Answer;
      ASSERT_NO_THROW(Answer = Conversation.Answer(Message)) << Message;
      for (const std::string& Reply : Answer) {
        EXPECT_LE(Reply.size(), Limit) << Message;
        EXPECT_FALSE(Reply.empty()) << Message;
      }
      const char Command = Message.empty() ? ' ' : Message.front();
      if (Command == 'N') {
        EXPECT_EQ(Answer.size(), 1u) << Message;
      } else if (Command == 'C') {
        EXPECT_TRUE(Answer.empty());
        EXPECT_TRUE(Conversation.Finished());
      } else {
        ASSERT_FALSE(Answer.empty()) << Message;
        EXPECT_EQ(Answer.back(), ".") << Message;
      }
    }
  }
}

}  // namespace
