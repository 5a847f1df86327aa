// The destination file, written through a temporary.
#include "destination_file.h"

#include <atomic>
#include <chrono>

#include "files.h"
#include "unsigned.h"

namespace Quorvel {

std::string Destination_File::Temporary_Name(const std::string& Final_Name) {
  // Time and a counter keep two runs, and two files of one run, apart; the
  // suffix is no Ada extension, so a folder search never takes it up.
  static std::atomic<std::uint32_t> Counter{0};
  const auto Now = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  return Final_Name + ".~" + Unsigned::Hex_Image(static_cast<std::uint32_t>(Now)) +
         Unsigned::Hex_Image(static_cast<std::uint16_t>(Counter++ & 0xFFFFu)) + ".tmp";
}

Destination_File::Destination_File(std::string Final_Name)
    : Final(std::move(Final_Name)), Temporary(Temporary_Name(Final)) {
  // "x": never write through a file that is already there.
  Stream = std::fopen(Temporary.c_str(), "wbx");
  if (Stream == nullptr) {
    throw Name_Error(Temporary);
  }
}

Destination_File::~Destination_File() {
  if (Stream != nullptr) {
    std::fclose(Stream);
    Stream = nullptr;
  }
  if (!Temporary.empty()) {
    std::remove(Temporary.c_str());
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
  Windows::Files::Move(Temporary, Final);
  Temporary.clear();
}

}  // namespace Quorvel
