// The token stream writer against a made-up conversation: letter case by
// kind, columns into blanks, line ends, and the malformed replies.
#include "token_writer.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

class Script final : public Client::Conversation {
 public:
  explicit Script(std::vector<std::string> Replies) : Pending(Replies.begin(), Replies.end()) {}
  void Write_To_Server(std::string_view Message) override { Sent.emplace_back(Message); }
  std::string Read_Reply() override {
    if (Pending.empty()) {
      throw std::runtime_error("no reply left in the script");
    }
    std::string Reply = Pending.front();
    Pending.pop_front();
    return Reply;
  }
  std::deque<std::string> Pending;
  std::vector<std::string> Sent;
};

class Text_Sink final : public Client::Line_Sink {
 public:
  void Put_Line(std::string_view Line) override {
    Bytes.append(Line);
    Bytes.append("\r\n");
  }
  std::string Bytes;
};

std::string Written(const std::vector<std::string>& Replies) {
  Script Server(Replies);
  Text_Sink Output;
  Client::Write_Tokens(Server, Output);
  EXPECT_TRUE(Server.Pending.empty());
  EXPECT_EQ(Server.Sent, std::vector<std::string>(Replies.size(), "N"));
  return Output.Bytes;
}

struct Stream_Case {
  std::vector<std::string> Replies;
  std::string Expected;
};

class Token_Stream : public testing::TestWithParam<Stream_Case> {};

TEST_P(Token_Stream, WritesTheExpectedBytes) {
  EXPECT_EQ(Written(GetParam().Replies), GetParam().Expected);
}

const std::string Long_999(999, 'x');
const std::string Long_1000(1000, 'y');
const std::string Long_1500(1500, 'z');

INSTANTIATE_TEST_SUITE_P(
    Table, Token_Stream,
    testing::Values(Stream_Case{{"5,1,procedure", "1,11,Foo", "3,1,", "0"}, "procedure Foo\r\n"},
                    Stream_Case{{"5,1,procedure", "1,10,Foo", "3,1,", "0"}, "procedureFoo\r\n"},
                    Stream_Case{{"5,1,procedure", "1,4,Foo", "0"}, "procedureFoo\r\n"},
                    Stream_Case{{"107,1,begin", "3,1,", "5,1,BEGIN", "3,1,", "1,1,MixedCase", "0"},
                                "BEGIN\r\nbegin\r\nMixedCase\r\n"},
                    Stream_Case{{"3,1,", "3,1,", "0"}, "\r\n\r\n"},
                    Stream_Case{{"3,1,TEXT", "0"}, "text\r\n"},
                    Stream_Case{{"2,1,a,b", "0"}, "a,b\r\n"}, Stream_Case{{"0,5,text"}, ""},
                    Stream_Case{{"0"}, ""}, Stream_Case{{"112,1,x", "1,1,a", "0"}, "a\r\n"},
                    Stream_Case{{"4", "1,1,a", "0"}, "a\r\n"},
                    Stream_Case{{"1,3,", "1,5,a", "0"}, "    a\r\n"},
                    Stream_Case{{"104,1,\xC9", "105,2,\xE9", "108,3,Ab", "106,5,\xC9\xDF",
                                 "109,7,X", "110,8,Y", "107,9,\xE9\xFF\xF7", "0"},
                                "\xC9\xE9\x41\x62\xE9\xDFxy\xC9\xFF\xF7\r\n"},
                    Stream_Case{{" 1 , 3 ,a", "0"}, "  a\r\n"},
                    // The 1000-column rule: a text whose last character would reach
                    // position 1000 starts a new line; blanks stay on the old one.
                    Stream_Case{{"1,1," + Long_999, "0"}, Long_999 + "\r\n"},
                    Stream_Case{{"1,1,a", "1,4," + std::string(997, 'b'), "0"},
                                "a  \r\n" + std::string(997, 'b') + "\r\n"},
                    Stream_Case{{"1,1," + Long_1000, "0"}, "\r\n" + Long_1000 + "\r\n"},
                    Stream_Case{{"1,1,a", "1,1000,b", "0"}, "ab\r\n"},
                    Stream_Case{{"1,1,a", "1,2000,b", "0"}, "ab\r\n"},
                    // A text longer than a whole line is written whole on its own line.
                    Stream_Case{{"1,1,a", "1,3," + Long_1500, "1,1,c", "0"},
                                "a \r\n" + Long_1500 + "\r\nc\r\n"}));

class Bad_Stream : public testing::TestWithParam<std::string> {};

TEST_P(Bad_Stream, EndsTheFileWithAnError) {
  Script Server({GetParam(), "0"});
  Text_Sink Output;
  EXPECT_THROW(Client::Write_Tokens(Server, Output), Client::Bad_Reply);
}

INSTANTIATE_TEST_SUITE_P(Table, Bad_Stream,
                         testing::Values("", "x", "-1", "1,", "1,5", "1,x,a", "1,0,a", "1,-3,a",
                                         ",1,a", "1 2,1,a", "99999999999999999999",
                                         // A line end inside a text.
                                         "1,1,a\nb", "2,1,a\r", "3,1,\r\n"));

}  // namespace
