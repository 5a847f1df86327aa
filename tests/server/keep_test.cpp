// Good code kept as its author laid it out: each source of keep/ (all in
// GNAT's style, each exercising a layout the style accepts) comes back byte
// for byte, line ends aside.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "layout_support.h"
#include "module.h"

namespace {

// The file's text with CR LF line ends turned into LF, as Formatted gives it.
std::string Keep_Source(const std::string& Name) {
  const std::filesystem::path Path =
      std::filesystem::path(Windows::Module_Directory()) / "keep" / Name;
  std::ostringstream Text;
  Text << std::ifstream(Path, std::ios::binary).rdbuf();
  std::string Source;
  for (const char C : Text.str()) {
    if (C != '\r') {
      Source.push_back(C);
    }
  }
  return Source;
}

// Kept: the engine keeps the file today; a file it still changes is listed
// with false, so that the row is turned when the layout learns it.
struct Keep_Case {
  const char* Name;
  bool Kept;
};

void PrintTo(const Keep_Case& Case, std::ostream* Into) {
  *Into << Case.Name;
}

class Keep : public testing::TestWithParam<Keep_Case> {};

TEST_P(Keep, ComesBackByteForByte) {
  const std::string Source = Keep_Source(GetParam().Name);
  ASSERT_FALSE(Source.empty()) << GetParam().Name;
  if (GetParam().Kept) {
    EXPECT_EQ(Layout_Support::Formatted(Source), Source);
  } else {
    EXPECT_NE(Layout_Support::Formatted(Source), Source) << "kept now: mark the row kept";
  }
}

std::string Case_Name(const testing::TestParamInfo<Keep_Case>& Info) {
  std::string Name;
  for (const char* C = Info.param.Name; *C != '\0' && *C != '.'; ++C) {
    Name.push_back(*C == '_' ? 'X' : *C);
  }
  return Name;
}

INSTANTIATE_TEST_SUITE_P(
    GoodStyle, Keep,
    testing::Values(
        Keep_Case{"01_ifx_elsif_cascade.adb", true}, Keep_Case{"02_ifx_elsif_decl.adb", true},
        Keep_Case{"03_ifx_then_in_condition.adb", true},
        Keep_Case{"04_colon_align_blank.adb", true}, Keep_Case{"05_colon_align_comment.adb", true},
        Keep_Case{"06_colon_align_assoc_cont.adb", true},
        Keep_Case{"07_colon_align_forced.adb", true}, Keep_Case{"08_param_align_forced.adb", true},
        Keep_Case{"09_mode_column.adb", true}, Keep_Case{"10_table_columns.adb", true},
        Keep_Case{"11_trailing_comment_space.adb", true},
        Keep_Case{"12_when_at_case_column.adb", true}, Keep_Case{"13_arrow_align_when.adb", true},
        Keep_Case{"14_arrow_align_padded.adb", true}, Keep_Case{"15_arrow_align_comment.adb", true},
        Keep_Case{"16_assign_align_blank.adb", true}, Keep_Case{"17_aspect_with_column.adb", true},
        Keep_Case{"18_aspect_import_assoc.adb", true},
        Keep_Case{"19_aspect_after_record_with.adb", true},
        Keep_Case{"20_aspect_predicate_expr.adb", true}, Keep_Case{"21_expr_function_is.adb", true},
        Keep_Case{"22_is_abstract_cont.adb", true}, Keep_Case{"23_type_is_new_cont.adb", true},
        Keep_Case{"24_return_cont.adb", true}, Keep_Case{"25_record_disc_is.adb", true},
        Keep_Case{"26_exception_when_line.adb", true}, Keep_Case{"27_id_list_split.adb", true},
        Keep_Case{"28_enum_comment_last.adb", true}, Keep_Case{"29_variant_one_line.adb", true},
        Keep_Case{"30_raise_with_cont.adb", true}, Keep_Case{"31_lone_semicolon.adb", true},
        Keep_Case{"32_cont_same_column.adb", true}, Keep_Case{"33_paren_paren.adb", true},
        Keep_Case{"34_use_column_broken.adb", true}, Keep_Case{"35_spec_name_column.adb", true},
        Keep_Case{"36_trailing_comment_column.adb", true},
        Keep_Case{"37_nested_aggregate_first.adb", true},
        Keep_Case{"38_aspect_arrow_forced.adb", true}),
    Case_Name);

}  // namespace
