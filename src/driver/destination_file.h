// The destination of one formatted file. The text goes to a temporary file
// beside the file finally written, which takes the final name only once the
// token stream has ended normally, so that no run ever leaves a half-written
// file, nor destroys a source formatted in place. The temporary's name is
// short and independent of the final one, so any name the file system
// accepts can be written.
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
  /// Creates the temporary in the folder of the file Final_Name designates
  /// (where a symbolic link leads, so that the link stays a link). With
  /// Replace the temporary takes that file's permissions, owner and group
  /// as far as the run may set them. Throws Name_Error.
  Destination_File(const std::string& Final_Name, bool Replace);
  /// Without Commit, the temporary is removed and Final_Name is untouched.
  ~Destination_File() override;
  Destination_File(const Destination_File&) = delete;
  Destination_File& operator=(const Destination_File&) = delete;

  /// Writes Line and CR LF. Throws Device_Error.
  void Put_Line(std::string_view Line) override;
  /// Closes the temporary and moves it onto the final file. Only with
  /// Replace may a file there be replaced; without, a file that appeared
  /// meanwhile stays and Windows::Files::Name_Taken is thrown. Throws
  /// Device_Error, or Windows::Files::File_Not_Found when the move fails;
  /// after any failure the temporary is removed when the object ends.
  void Commit();

  /// A name for a temporary in Folder (empty, or ending in a separator):
  /// the same short length whatever the final name, new on each call.
  static std::string Temporary_Name(const std::string& Folder);

 private:
  void Create_Temporary();
  void Close_Stream();

  std::string Final;
  bool Replace;
  std::string Temporary;
  std::FILE* Stream = nullptr;
};

}  // namespace Quorvel
