// The registry editor's export format as the POSIX registry reads it: every
// value form, the two file encodings, and files that are partly or wholly
// unreadable.
#include "registry_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Windows::Registry::Hive;
using Windows::Registry::Parse_Counts;
using Windows::Registry::Stored_Key;
using Windows::Registry::Stored_Value;

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string Key_Line = "[HKEY_CURRENT_USER\\Software\\Tallowmere\\Quorvel]\r\n";

struct Value_Case {
  std::string_view Line;  // one value line of the key
  std::uint32_t Type;
  std::string_view Data;
};

class Value_Forms : public testing::TestWithParam<Value_Case> {};

TEST_P(Value_Forms, GiveTheTypeAndTheBytesOfAnEightBitRead) {
  const Value_Case& C = GetParam();
  const Hive Root =
      Hive::Parse(Header + Key_Line + std::string(C.Line) + "\r\n", "HKEY_CURRENT_USER");
  const std::optional<Stored_Key> Key = Root.Find("software\\TALLOWMERE\\quorvel");
  ASSERT_TRUE(Key);
  EXPECT_FALSE(Key->Broken);
  const Stored_Value* Value = Windows::Registry::Find_Value(*Key, "log");
  ASSERT_NE(Value, nullptr) << C.Line;
  EXPECT_EQ(Value->Type, C.Type) << C.Line;
  EXPECT_EQ(Value->Data, C.Data) << C.Line;
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Table, Value_Forms,
    testing::Values(
        Value_Case{R"("Log"="C:\\Logs\\run.log")", 1, "C:\\Logs\\run.log\0"sv},
        Value_Case{R"("Log"="say \"hi\"")", 1, "say \"hi\"\0"sv},
        Value_Case{R"("Log"="")", 1, "\0"sv},
        Value_Case{R"("Log"="/var/log/q.log")", 1, "/var/log/q.log\0"sv},
        Value_Case{R"("Log" = "spaced")", 1, "spaced\0"sv},
        Value_Case{R"("Log"=dword:0000000a)", 4, "\x0a\0\0\0"sv},
        Value_Case{R"("Log"=DWORD:FFFFFFFF)", 4, "\xff\xff\xff\xff"sv},
        Value_Case{R"("Log"=dword:1)", 4, "\x01\0\0\0"sv},
        Value_Case{R"("Log"=hex:01,02,ff)", 3, "\x01\x02\xff"sv},
        Value_Case{R"("Log"=hex:)", 3, ""sv},
        Value_Case{R"("Log"=hex(2):25,00,54,00,4d,00,50,00,25,00,00,00)", 2, "%TMP%\0"sv},
        Value_Case{R"("Log"=hex(b):01,00,00,00,00,00,00,00)", 11, "\x01\0\0\0\0\0\0\0"sv},
        Value_Case{R"("Log"=hex(4):02,00,00,00)", 4, "\x02\0\0\0"sv},
        Value_Case{R"("LOG"="any case")", 1, "any case\0"sv},
        Value_Case{"\"Log\"=hex:01,\\\r\n  02,\\\r\n  03", 3, "\x01\x02\x03"sv},
        Value_Case{"\"Log\"=\"first\"\r\n\"Log\"=\"second\"", 1, "second\0"sv}));

Hive Parse(std::string_view Content) {
  return Hive::Parse(Content, "HKEY_CURRENT_USER");
}

TEST(Registry_Text, AValueLineThatCannotBeReadEmptiesOnlyItsKey) {
  const Hive Root = Parse(Header +
                          "[HKEY_CURRENT_USER\\A]\r\n\"Good\"=\"1\"\r\n\"Bad\"=dword:123456789\r\n"
                          "\"Later\"=\"2\"\r\n[HKEY_CURRENT_USER\\B]\r\n\"Kept\"=\"3\"\r\n");
  const auto A = Root.Find("A");
  ASSERT_TRUE(A);
  EXPECT_TRUE(A->Broken);
  EXPECT_TRUE(A->Values.empty());
  const auto B = Root.Find("B");
  ASSERT_TRUE(B);
  ASSERT_NE(Windows::Registry::Find_Value(*B, "Kept"), nullptr);
}

TEST(Registry_Text, EveryKindOfBrokenValueLineIsCaught) {
  for (const char* Line :
       {"\"Log\"=\"unended", "\"Log\"=dword:", "\"Log\"=dword:xyz", "\"Log\"=hex:1g",
        "\"Log\"=hex:123", "\"Log\"=hex(zz):00", "\"Log\"=hex:01,\\", "\"Log\"", "Log=\"x\"",
        "\"Log\"=text", "\"Log\"=\"a\" tail"}) {
    const Hive Root =
        Parse(Header + "[HKEY_CURRENT_USER\\A]\r\n\"Other\"=\"1\"\r\n" + Line + "\r\n");
    const auto A = Root.Find("A");
    ASSERT_TRUE(A) << Line;
    EXPECT_TRUE(A->Broken) << Line;
    EXPECT_EQ(Windows::Registry::Find_Value(*A, "Other"), nullptr) << Line;
  }
}

TEST(Registry_Text, WithoutTheHeaderTheWholeFileIsEmpty) {
  for (const std::string& Content : {std::string("[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n"),
                                     std::string(), std::string("\0\1\2garbage\xff", 12),
                                     std::string("REGEDIT5\r\n[HKEY_CURRENT_USER\\A]\r\n")}) {
    EXPECT_TRUE(Parse(Content).Keys().empty());
    EXPECT_FALSE(Parse(Content).Find("A"));
  }
}

TEST(Registry_Text, RegeditFourAndUnicodeFilesBothRead) {
  const Hive Old = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"E\"=hex(2):25,54,25,00\n");
  const auto A = Old.Find("A");
  ASSERT_TRUE(A);
  EXPECT_EQ(Windows::Registry::Find_Value(*A, "E")->Data, std::string("%T%\0", 4));

  // The same export as Windows writes it: UTF-16LE with a byte-order mark.
  const std::string Text =
      Header + "[HKEY_CURRENT_USER\\Caf\xC3\xA9]\r\n\"Log\"=\"\xC3\xA9t\xC3\xA9\"\r\n";
  std::string Wide = "\xFF\xFE";
  for (const char16_t Unit :
       std::u16string(u"Windows Registry Editor Version 5.00\r\n\r\n"
                      u"[HKEY_CURRENT_USER\\Caf\u00e9]\r\n\"Log\"=\"\u00e9t\u00e9\"\r\n")) {
    Wide.push_back(static_cast<char>(Unit & 0xFF));
    Wide.push_back(static_cast<char>(Unit >> 8));
  }
  for (const std::string& Content : {Text, Wide, "\xEF\xBB\xBF" + Text}) {
    const auto Key = Parse(Content).Find("CAF\xC3\xA9");
    ASSERT_TRUE(Key);
    EXPECT_EQ(Key->Path, "Caf\xC3\xA9");
    EXPECT_EQ(Windows::Registry::Find_Value(*Key, "log")->Data,
              std::string("\xC3\xA9t\xC3\xA9\0", 6));
  }
}

TEST(Registry_Text, KeysOfOtherRootsDeletionsAndCommentsAreSkipped) {
  const Hive Root =
      Parse(Header +
            "; a comment\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\M]\r\n\"x\"=\"m\"\r\n"
            "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n\"x\"=\"g\"\r\n"
            "[HKEY_CURRENT_USER\\Software\\U]\r\n; \"x\"=\"c\"\r\n\"y\"=-\r\n@=\"default\"\r\n");
  EXPECT_FALSE(Root.Find("Software\\M"));
  EXPECT_FALSE(Root.Find("Software\\Gone"));
  const auto U = Root.Find("Software\\U");
  ASSERT_TRUE(U);
  ASSERT_EQ(U->Values.size(), 1u);
  EXPECT_EQ(U->Values[0].Name, "");
  EXPECT_EQ(U->Values[0].Data, std::string("default\0", 8));
}

TEST(Registry_Text, ParentsExistWithoutSectionsOfTheirOwnAndKeepTheirSpelling) {
  const Hive Root =
      Parse(Header + "[HKEY_CURRENT_USER\\Software\\Tallowmere\\Quorvel]\r\n\"Log\"=\"x\"\r\n");
  const auto Parent = Root.Find("SOFTWARE\\tallowmere");
  ASSERT_TRUE(Parent);
  EXPECT_EQ(Parent->Path, "Software\\Tallowmere");
  EXPECT_TRUE(Parent->Values.empty());
  EXPECT_TRUE(Root.Find(""));
  EXPECT_FALSE(Root.Find("Software\\Tallow"));
  EXPECT_FALSE(Root.Find("Software\\Tallowmere\\Quorvel\\Deeper"));
}

struct Size_Case {
  int Keys;
  int Values;  // per key
  int Writes;  // of each value: later ones replace the first
};

// A whole export of a Windows registry holds some 100,000 keys, or one key
// with thousands of values: each name is compared with a few others at
// most, never with every name read before it.
TEST(Registry_Text, NameComparisonsGrowWithTheFileNotWithItsSquare) {
  for (const Size_Case& C : {Size_Case{4000, 2, 1}, Size_Case{1, 4000, 1}, Size_Case{1000, 7, 2}}) {
    std::string Content = Header;
    for (int K = 0; K < C.Keys; ++K) {
      Content += "[HKEY_CURRENT_USER\\Software\\Key" + std::to_string(K) + "]\r\n";
      for (int W = 1; W <= C.Writes; ++W) {
        for (int V = 0; V < C.Values; ++V) {
          Content += "\"Value" + std::to_string(V) + "\"=dword:" + std::to_string(W) + "\r\n";
        }
      }
    }
    Parse_Counts Counts;
    const Hive Root = Hive::Parse(Content, "HKEY_CURRENT_USER", &Counts);
    const std::size_t Lines = static_cast<std::size_t>(C.Keys * (1 + C.Values * C.Writes));
    EXPECT_LE(Counts.Name_Comparisons, 8 * Lines) << C.Keys << " keys, " << C.Values << " values";
    const auto Last = Root.Find("SOFTWARE\\KEY" + std::to_string(C.Keys - 1));
    ASSERT_TRUE(Last);
    ASSERT_EQ(Last->Values.size(), static_cast<std::size_t>(C.Values));
    EXPECT_EQ(Last->Values.back().Name, "Value" + std::to_string(C.Values - 1));
    EXPECT_EQ(Last->Values.back().Data[0], static_cast<char>(C.Writes));
  }
}

// In a key of many values (found through a table of their own), a deleted
// value is gone and a value set again replaces the one of its name, also
// after a deletion moved it.
TEST(Registry_Text, ManyValuesOfOneKeyAreDeletedAndReplacedByName) {
  std::string Content = Header + "[HKEY_CURRENT_USER\\A]\r\n";
  for (int V = 0; V < 12; ++V) {
    Content += "\"V" + std::to_string(V) + "\"=\"first\"\r\n";
  }
  Content += "\"v2\"=-\r\n\"V11\"=\"second\"\r\n\"v0\"=\"second\"\r\n\"V2\"=-\r\n";
  const auto A = Parse(Content).Find("A");
  ASSERT_TRUE(A);
  ASSERT_EQ(A->Values.size(), 11u);
  EXPECT_EQ(Windows::Registry::Find_Value(*A, "V2"), nullptr);
  for (const auto& [Name, Text] :
       {std::pair{"v0", "second\0"sv}, std::pair{"v1", "first\0"sv}, std::pair{"V3", "first\0"sv},
        std::pair{"v10", "first\0"sv}, std::pair{"v11", "second\0"sv}}) {
    const Stored_Value* Value = Windows::Registry::Find_Value(*A, Name);
    ASSERT_NE(Value, nullptr) << Name;
    EXPECT_EQ(Value->Data, Text) << Name;
  }
}

// Opening a key reads only what concerns it; what it finds is what the whole
// file read gives.
TEST(Registry_Text, ReadingOneKeyFindsWhatTheWholeFileGives) {
  const std::string Content =
      Header +
      "[HKEY_CURRENT_USER]\r\n@=\"root\"\r\n"
      "[HKEY_CURRENT_USER\\A\\B]\r\n\"x\"=\"1\"\r\n\"x\"=-\r\n\"y\"=dword:2\r\n"
      "[HKEY_LOCAL_MACHINE\\A]\r\n\"m\"=\"machine\"\r\n"
      "[HKEY_CURRENT_USER\\a\\b\\C]\r\n\"Bad\"=dword:xyz\r\n"
      "[HKEY_CURRENT_USER\\A\\b]\r\n\"z\"=hex:01,\\\r\n  02\r\n"
      "[HKEY_CURRENT_USER\\D]\r\n\"d\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\Taken]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Tallowmere\\Quorvel]\r\n\"Log\"=\"run.log\"\r\n";
  const Hive Whole = Parse(Content);
  for (const std::string_view Path :
       {"", "A", "a\\B", "A\\B\\c", "A\\X", "Software", "software\\TALLOWMERE\\quorvel", "Missing",
        "A\\", "D", "Taken"}) {
    const std::optional<Stored_Key> Expected = Whole.Find(Path);
    const std::optional<Stored_Key> Got = Hive::Parse_Key(Content, "HKEY_CURRENT_USER", Path);
    ASSERT_EQ(Got.has_value(), Expected.has_value()) << Path;
    if (!Got) {
      continue;
    }
    EXPECT_EQ(Got->Path, Expected->Path) << Path;
    EXPECT_EQ(Got->Broken, Expected->Broken) << Path;
    ASSERT_EQ(Got->Values.size(), Expected->Values.size()) << Path;
    for (std::size_t V = 0; V < Got->Values.size(); ++V) {
      EXPECT_EQ(Got->Values[V].Name, Expected->Values[V].Name) << Path;
      EXPECT_EQ(Got->Values[V].Type, Expected->Values[V].Type) << Path;
      EXPECT_EQ(Got->Values[V].Data, Expected->Values[V].Data) << Path;
    }
  }
}

}  // namespace
