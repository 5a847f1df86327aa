// Version strings read back from an executable or shared library: the build
// embeds them in the ELF section ".quorvel_version" as pairs of NUL-ended
// texts, the sub-block path and its value.
#include <elf.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "text.h"
#include "version.h"

namespace Windows::Version {

namespace {

constexpr std::string_view Section_Name = ".quorvel_version";

std::optional<std::string> Read_At(std::ifstream& File, std::uint64_t Offset, std::uint64_t Size) {
  if (Size > (64u << 20)) {
    return std::nullopt;  // no sane header or section is this large
  }
  std::string Bytes(static_cast<std::size_t>(Size), '\0');
  File.seekg(static_cast<std::streamoff>(Offset));
  if (!File.read(Bytes.data(), static_cast<std::streamsize>(Size))) {
    return std::nullopt;
  }
  return Bytes;
}

template <class Record>
Record Record_At(const std::string& Bytes, std::size_t Offset) {
  Record Result{};
  std::memcpy(&Result, Bytes.data() + Offset, sizeof Result);
  return Result;
}

// The named section's bytes from an ELF file of one class.
template <class Header, class Section_Header>
std::optional<std::string> Find_Section(std::ifstream& File, const std::string& Start) {
  if (Start.size() < sizeof(Header)) {
    return std::nullopt;
  }
  const auto Elf = Record_At<Header>(Start, 0);
  if (Elf.e_shentsize != sizeof(Section_Header) || Elf.e_shstrndx >= Elf.e_shnum) {
    return std::nullopt;
  }
  const auto Table =
      Read_At(File, Elf.e_shoff, std::uint64_t{Elf.e_shnum} * sizeof(Section_Header));
  if (!Table) {
    return std::nullopt;
  }
  const auto Names_Header =
      Record_At<Section_Header>(*Table, Elf.e_shstrndx * sizeof(Section_Header));
  const auto Names = Read_At(File, Names_Header.sh_offset, Names_Header.sh_size);
  if (!Names) {
    return std::nullopt;
  }
  for (std::size_t I = 0; I < Elf.e_shnum; ++I) {
    const auto Section = Record_At<Section_Header>(*Table, I * sizeof(Section_Header));
    if (Section.sh_name < Names->size() &&
        std::string_view(Names->c_str() + Section.sh_name) == Section_Name) {
      return Read_At(File, Section.sh_offset, Section.sh_size);
    }
  }
  return std::nullopt;
}

std::optional<std::string> Version_Block(const std::string& Path) {
  std::ifstream File(Path, std::ios::binary);
  const auto Start = Read_At(File, 0, sizeof(Elf64_Ehdr));
  if (!Start || Start->compare(0, SELFMAG, ELFMAG) != 0) {
    return std::nullopt;
  }
  if ((*Start)[EI_CLASS] == ELFCLASS64) {
    return Find_Section<Elf64_Ehdr, Elf64_Shdr>(File, *Start);
  }
  return Find_Section<Elf32_Ehdr, Elf32_Shdr>(File, *Start);
}

}  // namespace

std::string Query(const std::string& Sub_Block, const std::string& File) {
  const auto Block = Version_Block(File);
  if (!Block) {
    throw No_Version_Info();
  }
  // Pairs of NUL-ended texts; an unpaired or unended rest is ignored.
  std::string_view Rest = *Block;
  for (;;) {
    const std::size_t Path_End = Rest.find('\0');
    const std::size_t Value_End =
        Path_End == std::string_view::npos ? Path_End : Rest.find('\0', Path_End + 1);
    if (Value_End == std::string_view::npos) {
      throw No_Version_Info();
    }
    if (Text::Equal(Rest.substr(0, Path_End), Sub_Block, false)) {
      return std::string(Rest.substr(Path_End + 1, Value_End - Path_End));
    }
    Rest.remove_prefix(Value_End + 1);
  }
}

}  // namespace Windows::Version
