// Scratch folders over std::filesystem, the same on both platforms.
#include "scratch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "path_style.h"

namespace fs = std::filesystem;

namespace Test_Support {

std::string Native(std::string_view Relative) {
  std::string Result(Relative);
  for (char& C : Result) {
    if (C == '/') {
      C = Windows::Separator(Windows::Native_Style);
    }
  }
  return Result;
}

std::string Unique_Name(std::string_view Stem) {
  static std::atomic<unsigned> Counter{0};
  static const unsigned Seed = std::random_device{}();
  const auto Now = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream Name;
  Name << Stem << '-' << std::hex << Seed << '-' << (Now & 0xFFFFFF) << '-' << Counter++;
  return Name.str();
}

std::vector<std::string> Entries(const std::string& Folder) {
  std::vector<std::string> Names;
  for (const auto& Entry : fs::directory_iterator(Folder)) {
    Names.push_back(Entry.path().filename().string());
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

Scratch_Folder::Scratch_Folder() {
  const fs::path Root = fs::temp_directory_path() / Unique_Name("quorvel-test");
  fs::create_directories(Root);
  Folder = Root.string();
  while (Folder.size() > 1 && Windows::Is_Separator(Folder.back(), Windows::Native_Style)) {
    Folder.pop_back();
  }
}

Scratch_Folder::~Scratch_Folder() {
  std::error_code Ignored;
  fs::permissions(Folder, fs::perms::owner_all, fs::perm_options::add, Ignored);
  fs::remove_all(Folder, Ignored);
}

std::string Scratch_Folder::operator/(std::string_view Relative) const {
  return Folder + Windows::Separator(Windows::Native_Style) + Native(Relative);
}

void Scratch_Folder::Write(std::string_view Relative, std::string_view Content) const {
  const fs::path Target(*this / Relative);
  fs::create_directories(Target.parent_path());
  std::ofstream Output(Target, std::ios::binary | std::ios::trunc);
  Output.write(Content.data(), static_cast<std::streamsize>(Content.size()));
}

void Scratch_Folder::Make_Folder(std::string_view Relative) const {
  fs::create_directories(*this / Relative);
}

std::string Scratch_Folder::Read(std::string_view Relative) const {
  return Read_File(*this / Relative);
}

bool Scratch_Folder::Has(std::string_view Relative) const {
  std::error_code Ignored;
  return fs::exists(*this / Relative, Ignored);
}

std::string Read_File(const std::string& Path) {
  std::ifstream Input(Path, std::ios::binary);
  std::ostringstream Content;
  Content << Input.rdbuf();
  return Content.str();
}

}  // namespace Test_Support
