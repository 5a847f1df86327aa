// Finding a source file through the Path folders, and the words that say
// why one could not be read.
#include "source_file.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <vector>

#include "lexer.h"

namespace Server {

namespace {

std::string Why(Read_Outcome Outcome) {
  switch (Outcome) {
    case Read_Outcome::Read:
      return "";
    case Read_Outcome::Not_Found:
      return "no such file";
    case Read_Outcome::Folder:
      return "is a folder, not a file";
    case Read_Outcome::Not_A_File:
      return "is not a plain file";
    case Read_Outcome::Unreadable:
      return "cannot be read";
    case Read_Outcome::Too_Large:
      return "is too large to read";
    case Read_Outcome::Beyond_Limit:
      // The words the engine has for a source beyond its limit.
      return "the file is too large to format";
  }
  return "cannot be read";
}

std::string Joined(const std::string& Folder, const std::string& Name) {
  const Windows::Path_Style Style = Windows::Native_Style;
  if (!Folder.empty() && Windows::Is_Separator(Folder.back(), Style)) {
    return Folder + Name;
  }
  return Folder + Windows::Separator(Style) + Name;
}

}  // namespace

const std::size_t Longest_Source = Formatter::Largest_Source;

namespace {

// The whole file, one byte past Limit at most: that byte tells a file that
// grew beyond it.
Read_Outcome Read_To_End(std::size_t Limit, std::string& Text, const Read_Some& Read) {
  std::vector<char> Chunk(65536);
  for (;;) {
    // Text holds at most Limit bytes here.
    const std::size_t Room = std::min(Chunk.size() - 1, Limit - Text.size()) + 1;
    const std::optional<std::size_t> Count = Read(Chunk.data(), Room);
    if (!Count) {
      return Read_Outcome::Unreadable;
    }
    if (*Count == 0) {
      return Read_Outcome::Read;
    }
    Text.append(Chunk.data(), *Count);
    if (Text.size() > Limit) {
      return Read_Outcome::Beyond_Limit;
    }
  }
}

}  // namespace

Read_Outcome Read_Bounded(std::uint64_t Size, std::size_t Limit, std::string& Text,
                          const Read_Some& Read) noexcept {
  Read_Outcome Outcome = Read_Outcome::Too_Large;
  try {
    if (Size > Limit) {
      Outcome = Read_Outcome::Beyond_Limit;
    } else {
      Text.reserve(static_cast<std::size_t>(Size));
      Outcome = Read_To_End(Limit, Text, Read);
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  } catch (...) {
    Outcome = Read_Outcome::Unreadable;
  }
  if (Outcome != Read_Outcome::Read) {
    Text.clear();
    Text.shrink_to_fit();
  }
  return Outcome;
}

Source_Text Read_Source(const std::string& Name, const std::vector<std::string>& Path,
                        std::size_t Limit) {
  std::vector<std::string> Candidates;
  // A NUL would end the name early for the system and open another file.
  if (Name.find('\0') == std::string::npos) {
    Candidates.push_back(Name);
  }
  if (!Candidates.empty() && !Windows::Has_Folder(Name, Windows::Native_Style)) {
    for (const std::string& Folder : Path) {
      Candidates.push_back(Joined(Folder, Name));
    }
  }
  Source_Text Source;
  for (const std::string& Candidate : Candidates) {
    const Read_Outcome Outcome = Read_Whole_File(Candidate, Source.Text, Limit);
    if (Outcome != Read_Outcome::Not_Found) {
      Source.Name = Candidate;
      Source.Failure = Why(Outcome);
      return Source;
    }
  }
  Source.Name = Name;
  Source.Failure = Why(Read_Outcome::Not_Found);
  return Source;
}

}  // namespace Server
