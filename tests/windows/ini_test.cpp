// INI values: the Windows reading rules, in text and from real files.
#include "ini.h"

#include <gtest/gtest.h>

#include "scratch.h"

namespace {

struct Ini_Case {
  std::string_view Content;
  std::string_view Key;
  std::string_view Section;
  std::string_view Expected;
};

class Ini_Rule : public testing::TestWithParam<Ini_Case> {};

TEST_P(Ini_Rule, ReadsTheValue) {
  const Ini_Case& C = GetParam();
  EXPECT_EQ(Windows::Ini_Value(C.Content, C.Key, C.Section), C.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Ini_Rule,
    testing::Values(
        Ini_Case{"[Quv_Client]\r\nPipename=quorvel\r\n", "Pipename", "Quv_Client", "quorvel"},
        Ini_Case{"[quv_client]\nPIPENAME = quorvel \n", "Pipename", "Quv_Client", "quorvel"},
        Ini_Case{" [ Quv_Client ] \rPipename=\"a b\"\r", "Pipename", "Quv_Client", "a b"},
        Ini_Case{"[S]\nK='x'\n", "K", "S", "x"}, Ini_Case{"[S]\nK=\"x\n", "K", "S", "\"x"},
        Ini_Case{"[S]\nK=1\nK=2\n", "K", "S", "1"}, Ini_Case{"[S]\n;K=1\nK=2\n", "K", "S", "2"},
        Ini_Case{"[T]\nK=1\n[S]\nK=2\n", "K", "S", "2"}, Ini_Case{"[S]\nK=\n", "K", "S", ""},
        Ini_Case{"[S]\nOther=1\n", "K", "S", ""}, Ini_Case{"K=1\n", "K", "S", ""},
        Ini_Case{"[S]\nK=a=b\n", "K", "S", "a=b"}, Ini_Case{"", "K", "S", ""},
        Ini_Case{"procedure X is\n[Format]\nStyle=GNAT\n", "Style", "Format", "GNAT"},
        Ini_Case{"[\n]\n=\n[S\nK=v", "K", "S", "v"}));

TEST(Ini_Get, ReadsRealFilesWhateverTheirSize) {
  Test_Support::Scratch_Folder Scratch;
  const std::string Long(5000, 'v');
  Scratch.Write("q.ini", "[Quv_Client]\r\nPipename=p\r\nServer=" + Long + "\r\nEmpty=\r\n");
  const std::string File = Scratch / "q.ini";
  EXPECT_EQ(Windows::Ini_Get("Pipename", "Quv_Client", File), "p");
  EXPECT_EQ(Windows::Ini_Get("Server", "Quv_Client", File), Long);
  EXPECT_EQ(Windows::Ini_Get("Empty", "Quv_Client", File), "");
  EXPECT_EQ(Windows::Ini_Get("Missing", "Quv_Client", File), "");
  EXPECT_EQ(Windows::Ini_Get("Pipename", "Quv_Client", Scratch / "none.ini"), "");
}

TEST(Ini_Get, ValuesAroundTheFirstBufferSizeComeBackWhole) {
  Test_Support::Scratch_Folder Scratch;
  for (const std::size_t Size : {298u, 299u, 300u, 599u, 600u, 1200u}) {
    const std::string Value(Size, 'x');
    Scratch.Write("v.ini", "[S]\r\nK=" + Value + "\r\n");
    EXPECT_EQ(Windows::Ini_Get("K", "S", Scratch / "v.ini"), Value) << Size;
  }
}

}  // namespace
