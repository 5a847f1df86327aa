// The log's texts: the record line and the previous file's name.
#include <string>

#include "log_file.h"
#include "unsigned.h"

namespace Log {

std::string Record_Line(const Windows::System_Time& Time, std::uint32_t Thread,
                        std::string_view Text) {
  const unsigned Seconds = Time.Hour * 3600u + Time.Minute * 60u + Time.Second;
  // Milliseconds give the first three of the four decimals.
  const std::string Decimals = std::to_string(10000u + Time.Milliseconds % 1000u * 10u).substr(1);
  std::string Line;
  Line.reserve(Text.size() + 32);
  Line.append(" ").append(std::to_string(Seconds)).append(".").append(Decimals);
  Line.append(" (").append(Unsigned::Hex_Image_Wide(Thread, 4)).append(") => ").append(Text);
  return Line;
}

std::string Previous_Name(std::string_view File_Name, Windows::Path_Style Style) {
  const std::size_t Name_Start = Windows::Last_Separator(File_Name, Style);
  const std::size_t Dot = File_Name.rfind('.');
  std::string Result(File_Name);
  if (Dot == std::string_view::npos || Dot < Name_Start) {
    return Result + "_2";
  }
  return Result.insert(Dot, "_2");
}

}  // namespace Log
