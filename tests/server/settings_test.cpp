// The settings through the session: each accepted value answered by
// what is now in force, each refused one by why, the old value kept.
#include <gtest/gtest.h>

#include "fake_formatter.h"
#include "scratch.h"
#include "session.h"

namespace {

using Replies = std::vector<std::string>;

// The engine of every session here (settings reach it only with a file).
Fake_Formatter::Engine Stand_In;

struct Setting_Case {
  std::string Message;
  std::string Line;
};

class One_Setting : public testing::TestWithParam<Setting_Case> {};

TEST_P(One_Setting, IsAnsweredByOneLineThenTheEndMark) {
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer(GetParam().Message), (Replies{GetParam().Line, "."}));
}

INSTANTIATE_TEST_SUITE_P(
    Compiler, One_Setting,
    testing::Values(
        Setting_Case{"XAda83", "Compiler = Ada83"}, Setting_Case{"XAda95", "Compiler = Ada95"},
        Setting_Case{"XAda2005", "Compiler = Ada2005"},
        Setting_Case{"XAda2012", "Compiler = Ada2012"},
        Setting_Case{"XAda2022", "Compiler = Ada2022"},
        Setting_Case{"X ada 2012 ", "Compiler = Ada2012"},
        Setting_Case{"XADA_95", "Compiler = Ada95"},
        Setting_Case{"XAda-2005", "Compiler = Ada2005"}, Setting_Case{"X83", "Compiler = Ada83"},
        Setting_Case{"XAda99",
                     "Compiler \"Ada99\" is not Ada83, Ada95, Ada2005, Ada2012 or Ada2022; "
                     "Compiler = Ada2022 kept"},
        Setting_Case{"XAda",
                     "Compiler \"Ada\" is not Ada83, Ada95, Ada2005, Ada2012 or Ada2022; "
                     "Compiler = Ada2022 kept"},
        Setting_Case{"XAda  2012",
                     "Compiler \"Ada  2012\" is not Ada83, Ada95, Ada2005, Ada2012 "
                     "or Ada2022; Compiler = Ada2022 kept"},
        Setting_Case{"X",
                     "Compiler \"\" is not Ada83, Ada95, Ada2005, Ada2012 or Ada2022; "
                     "Compiler = Ada2022 kept"}));

INSTANTIATE_TEST_SUITE_P(
    Units, One_Setting,
    testing::Values(
        Setting_Case{"U1", "Units = 1"}, Setting_Case{"U9", "Units = 9"},
        Setting_Case{"U 4 ", "Units = 4"}, Setting_Case{"U+2", "Units = 2"},
        Setting_Case{"U0", "Units \"0\" is not a whole number from 1 to 9; Units = 3 kept"},
        Setting_Case{"U10", "Units \"10\" is not a whole number from 1 to 9; Units = 3 kept"},
        Setting_Case{"U-3", "Units \"-3\" is not a whole number from 1 to 9; Units = 3 kept"},
        Setting_Case{"U2.5", "Units \"2.5\" is not a whole number from 1 to 9; Units = 3 kept"},
        Setting_Case{"U", "Units \"\" is not a whole number from 1 to 9; Units = 3 kept"}));

INSTANTIATE_TEST_SUITE_P(
    Errors, One_Setting,
    testing::Values(
        Setting_Case{"E1", "Errors = 1"}, Setting_Case{"E1000", "Errors = 1000"},
        Setting_Case{"E1_000", "Errors = 1000"},
        Setting_Case{"E0", "Errors \"0\" is not a whole number from 1 to 1000; Errors = 10 kept"},
        Setting_Case{"E1001",
                     "Errors \"1001\" is not a whole number from 1 to 1000; Errors = 10 kept"},
        Setting_Case{"Eten",
                     "Errors \"ten\" is not a whole number from 1 to 1000; Errors = 10 kept"},
        Setting_Case{"E99999999999999999999",
                     "Errors \"99999999999999999999\" is not a whole number from 1 to 1000; "
                     "Errors = 10 kept"}));

const std::string Timeout_Refused =
    "\" is not 0 (none) or a number of seconds up to 1000000 with at most 3 decimals; "
    "Timeout = none kept";

INSTANTIATE_TEST_SUITE_P(
    Timeout, One_Setting,
    testing::Values(Setting_Case{"T0", "Timeout = none"}, Setting_Case{"T30", "Timeout = 30 s"},
                    Setting_Case{"T0.5", "Timeout = 0.5 s"},
                    Setting_Case{"T 1.25 ", "Timeout = 1.25 s"},
                    Setting_Case{"T2.000", "Timeout = 2 s"},
                    Setting_Case{"T0.001", "Timeout = 0.001 s"},
                    Setting_Case{"T1000000", "Timeout = 1000000 s"},
                    Setting_Case{"T1000000.001", "Timeout \"1000000.001" + Timeout_Refused},
                    Setting_Case{"T0.0001", "Timeout \"0.0001" + Timeout_Refused},
                    Setting_Case{"T-1", "Timeout \"-1" + Timeout_Refused},
                    Setting_Case{"T1e3", "Timeout \"1e3" + Timeout_Refused},
                    Setting_Case{"T.5", "Timeout \".5" + Timeout_Refused},
                    Setting_Case{"T5.", "Timeout \"5." + Timeout_Refused},
                    Setting_Case{"T", "Timeout \"" + Timeout_Refused}));

const std::string Width_Refused =
    "\" is not 0 (no line broken) or a whole number from 40 to 999; Width = 79 kept";

INSTANTIATE_TEST_SUITE_P(Width, One_Setting,
                         testing::Values(Setting_Case{"W100", "Width = 100"},
                                         Setting_Case{"W0", "Width = 0"},
                                         Setting_Case{"W 40 ", "Width = 40"},
                                         Setting_Case{"W999", "Width = 999"},
                                         Setting_Case{"W1_20", "Width = 120"},
                                         Setting_Case{"W39", "Width \"39" + Width_Refused},
                                         Setting_Case{"W1000", "Width \"1000" + Width_Refused},
                                         Setting_Case{"W-79", "Width \"-79" + Width_Refused},
                                         Setting_Case{"W79.5", "Width \"79.5" + Width_Refused},
                                         Setting_Case{"Wwide", "Width \"wide" + Width_Refused},
                                         Setting_Case{"W", "Width \"" + Width_Refused}));

TEST(Settings, AFolderListIsCheckedAndShownAsGiven) {
  Test_Support::Scratch_Folder Scratch;
  Scratch.Make_Folder("one");
  Scratch.Make_Folder("two");
  const std::string One = Scratch / "one", Two = Scratch / "two", Missing = Scratch / "three";
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("P" + One), (Replies{"Path = " + One, "."}));
  EXPECT_EQ(Conversation.Answer("P " + One + " ;; " + Two + ";"),
            (Replies{"Path = " + One + ";" + Two, "."}));
  EXPECT_EQ(Conversation.Current().Path, (std::vector<std::string>{One, Two}));
  const std::string Bad = One + ";" + Missing;
  EXPECT_EQ(
      Conversation.Answer("P" + Bad),
      (Replies{"Path \"" + Server::Shown(Bad) +
                   "\" names something that is not a folder; Path = " + One + ";" + Two + " kept",
               "."}));
  const std::string With_Nul = One + std::string(1, '\0') + "x";
  EXPECT_EQ(Conversation.Answer("P" + With_Nul).front(),
            "Path \"" + Server::Shown(With_Nul) +
                "\" names something that is not a folder; Path = " + One + ";" + Two + " kept");
  EXPECT_EQ(Conversation.Answer("P"), (Replies{"Path = none", "."}));
  EXPECT_TRUE(Conversation.Current().Path.empty());
}

TEST(Settings, ARefusedValueKeepsTheOneInForce) {
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer("U4"), (Replies{"Units = 4", "."}));
  EXPECT_EQ(Conversation.Answer("U12"),
            (Replies{"Units \"12\" is not a whole number from 1 to 9; Units = 4 kept", "."}));
  EXPECT_EQ(Conversation.Answer("XAda95"), (Replies{"Compiler = Ada95", "."}));
  EXPECT_EQ(
      Conversation.Answer("XAda96").front(),
      "Compiler \"Ada96\" is not Ada83, Ada95, Ada2005, Ada2012 or Ada2022; Compiler = Ada95 kept");
  EXPECT_EQ(Conversation.Answer("T2.5"), (Replies{"Timeout = 2.5 s", "."}));
  EXPECT_EQ(Conversation.Answer("Tsoon").front(),
            "Timeout \"soon\" is not 0 (none) or a number of seconds up to 1000000 with at most 3 "
            "decimals; Timeout = 2.5 s kept");
  EXPECT_DOUBLE_EQ(Conversation.Idle_Limit(), 2.5);
  EXPECT_EQ(Conversation.Answer("E7"), (Replies{"Errors = 7", "."}));
  EXPECT_EQ(Conversation.Answer("W120"), (Replies{"Width = 120", "."}));
  EXPECT_EQ(Conversation.Answer("W12").front(),
            "Width \"12\" is not 0 (no line broken) or a whole number from 40 to 999; "
            "Width = 120 kept");
  EXPECT_EQ(Conversation.Answer(std::string("W").append(Server::Longest_Message, '1')).front(),
            "Width value is too long; Width = 120 kept");
  EXPECT_EQ(Conversation.Current().Width, 120);
  EXPECT_EQ(Conversation.Current().Units, 4);
  EXPECT_EQ(Conversation.Current().Errors, 7);
  EXPECT_EQ(Conversation.Current().Compiler, Formatter::Edition::Ada95);
}

TEST(Settings, AValueForTheUserIsQuotedOnOneShortLine) {
  Server::Session Conversation(Stand_In);
  EXPECT_EQ(Conversation.Answer(std::string("U\r\n\x7F", 4)).front(),
            "Units \"???\" is not a whole number from 1 to 9; Units = 3 kept");
  EXPECT_EQ(Conversation.Answer(std::string("U").append(100, '7')).front(),
            "Units \"" + std::string(80, '7') +
                "...\" is not a whole number from 1 to 9; Units = 3 kept");
  EXPECT_EQ(Conversation.Answer(std::string("U").append(Server::Longest_Message, '1')),
            (Replies{"Units value is too long; Units = 3 kept", "."}));
}

TEST(Settings, ALineLongerThanTheClientReadsIsCut) {
  Server::Session Conversation(Stand_In, 12);
  EXPECT_EQ(Conversation.Answer("U5"), (Replies{"Units = 5", "."}));
  EXPECT_EQ(Conversation.Answer("XAda83"), (Replies{"Compiler = A", "."}));
  Server::Session Tiny(Stand_In, 1);
  EXPECT_EQ(Tiny.Answer("E20"), (Replies{"E", "."}));
  EXPECT_EQ(Tiny.Current().Errors, 20);
}

}  // namespace
