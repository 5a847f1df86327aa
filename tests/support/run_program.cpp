// Where the programs under test are built.
#include "run_program.h"

#include "module.h"

namespace Test_Support {

namespace {

std::string With_Suffix(const std::string& Name) {
  return Windows::Native_Style == Windows::Path_Style::Windows ? Name + ".exe" : Name;
}

}  // namespace

std::string Program_Beside_Tests(const std::string& Name) {
  return Windows::Module_Directory() + With_Suffix(Name);
}

std::string Program_In_Bin(const std::string& Name) {
  // Tests live in <build>/tests, programs in <build>/bin.
  const char Sep = Windows::Separator(Windows::Native_Style);
  std::string Tests = Windows::Module_Directory();
  Tests.pop_back();
  return Tests.substr(0, Tests.rfind(Sep) + 1) + "bin" + Sep + With_Suffix(Name);
}

}  // namespace Test_Support
