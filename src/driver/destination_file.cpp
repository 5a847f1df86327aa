// The destination file, written through a temporary.
#include "destination_file.h"

#include <atomic>
#include <chrono>
#include <random>

#include "files.h"
#include "interrupt.h"
#include "path_style.h"
#include "unsigned.h"

namespace Quorvel {

namespace {

// Tries before giving up on finding a free temporary name: collisions come
// only from another run that drew the same name, or from a planted file.
constexpr int Name_Tries = 100;

std::string Folder_Of(const std::string& Name) {
  return Name.substr(0, Windows::Last_Separator(Name, Windows::Native_Style));
}

}  // namespace

std::string Destination_File::Temporary_Name(const std::string& Folder) {
  // A seed per run and a counter keep runs, and files of one run, apart;
  // the suffix is no Ada extension, so a folder search never takes it up.
  static const std::uint32_t Seed =
      std::random_device{}() ^
      static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  static std::atomic<std::uint32_t> Counter{0};
  const std::uint32_t Drawn = Seed + Counter++ * 0x9E3779B9u;
  return Folder + ".quorvel-" + Unsigned::Hex_Image(Drawn) + ".tmp";
}

Destination_File::Destination_File(const std::string& Final_Name, bool Replace_Existing)
    : Final(Windows::Files::Link_Target(Final_Name)), Replace(Replace_Existing) {
  Create_Temporary();
  if (Replace) {
    // Before a byte is written: a private file's text is never readable
    // by others, not even in its temporary.
    Windows::Files::Copy_Permissions(Final, Stream);
  }
}

void Destination_File::Create_Temporary() {
  const std::string Folder = Folder_Of(Final);
  for (int Try = 0; Try < Name_Tries; ++Try) {
    const std::string Name = Temporary_Name(Folder);
    bool Taken = false;
    Stream = Windows::Files::Create_New(Name, Taken);
    if (Stream != nullptr) {
      Temporary = Name;
      // Only once the file is ours: an interrupt must never delete a file
      // of that name that someone else made.
      Windows::Interrupt::Remove_On_Interrupt(Temporary);
      return;
    }
    if (!Taken) {
      break;
    }
  }
  throw Name_Error(Final);
}

Destination_File::~Destination_File() {
  if (Stream != nullptr) {
    std::fclose(Stream);
    Stream = nullptr;
  }
  if (!Temporary.empty()) {
    std::remove(Temporary.c_str());
    Windows::Interrupt::Remove_On_Interrupt("");
  }
}

void Destination_File::Put_Line(std::string_view Line) {
  if (std::fwrite(Line.data(), 1, Line.size(), Stream) != Line.size() ||
      std::fwrite("\r\n", 1, 2, Stream) != 2) {
    throw Device_Error(Temporary);
  }
}

void Destination_File::Close_Stream() {
  const bool Flushed = std::fflush(Stream) == 0;
  const bool Closed = std::fclose(Stream) == 0;
  Stream = nullptr;
  if (!Flushed || !Closed) {
    throw Device_Error(Temporary);
  }
}

void Destination_File::Commit() {
  Close_Stream();
  if (Replace) {
    Windows::Files::Move(Temporary, Final);
  } else {
    Windows::Files::Move_New(Temporary, Final);
  }
  // Cleared only now: an interrupt during the move deletes a name that is
  // already gone, which does no harm.
  Windows::Interrupt::Remove_On_Interrupt("");
  Temporary.clear();
}

}  // namespace Quorvel
