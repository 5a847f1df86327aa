// The destination of one formatted file. The text goes to a temporary file
// in the destination folder, which replaces the final name only once the
// token stream has ended normally, so that no run ever leaves a half-written
// file, nor destroys a source formatted in place.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "named_error.h"
#include "token_writer.h"

namespace Quorvel {

/// Writing the destination failed (a full disk, a vanished folder).
QUORVEL_NAMED_ERROR(Device_Error, Named_Error, "ADA.IO_EXCEPTIONS.DEVICE_ERROR");
/// The temporary file could not be created.
QUORVEL_NAMED_ERROR(Name_Error, Named_Error, "ADA.IO_EXCEPTIONS.NAME_ERROR");

class Destination_File final : public Client::Line_Sink {
public:
  /// Creates the temporary beside Final_Name. Throws Name_Error.
  explicit Destination_File(std::string Final_Name);
  /// Without Commit, the temporary is removed and Final_Name is untouched.
  ~Destination_File() override;
  Destination_File(const Destination_File&) = delete;
  Destination_File& operator=(const Destination_File&) = delete;

  /// Writes Line and CR LF. Throws Device_Error.
  void Put_Line(std::string_view Line) override;
  /// Closes the temporary and moves it onto the final name, replacing a file
  /// there. Throws Device_Error, or Windows::Files::File_Not_Found when the
  /// move fails.
  void Commit();

  /// The temporary's name for Final_Name (unique per call).
  static std::string Temporary_Name(const std::string& Final_Name);

private:
  void Close_Stream();

  std::string Final;
  std::string Temporary;
  std::FILE* Stream = nullptr;
};

}  // namespace Quorvel
