// The formatting server's peak memory for one source, and the generated Ada
// source that makes a large input.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "child.h"
#include "measures.h"
#include "scratch.h"

namespace Bench {

namespace Pipe = Windows::Pipe;

std::string Read_Reply(const Pipe::Handle& Server) {
  char Buffer[1000];
  return std::string(Buffer, Pipe::Read(Server, Buffer));
}

void Open_Source(const Pipe::Handle& Server, const std::string& Source) {
  const std::string Message = "O" + Source;
  Pipe::Write(Server, Message.data(), Message.size());
  for (std::string Reply = Read_Reply(Server); Reply != "."; Reply = Read_Reply(Server)) {
    if (!Reply.empty() && Reply.front() == '<') {
      throw std::runtime_error("the server did not format " + Source + ": " + Reply.substr(1));
    }
  }
}

long Memory_Of(pid_t Id, const std::string& Field) {
  std::ifstream Status("/proc/" + std::to_string(Id) + "/status");
  for (std::string Line; std::getline(Status, Line);) {
    if (Line.rfind(Field, 0) == 0) {
      return std::stol(Line.substr(Field.size()));
    }
  }
  return 0;
}

namespace {

// One procedure of the generated source: declarations, a loop, an if, a
// case, literals of each sort and comments, as ordinary code has them.
std::string Procedure(unsigned long Number) {
  char Text[1400];
  const int Length =
      std::snprintf(Text, sizeof Text,
                    "   --  Step %lu adds up what the loop finds.\n"
                    "   procedure Step_%lu (Count : in out Integer; Name : String) is\n"
                    "      Total : Integer := 0;\n"
                    "      Label : constant String := \"step %lu\";\n"
                    "   begin\n"
                    "      for I in 1 .. Count loop\n"
                    "         if I mod 3 = 0 then\n"
                    "            Total := Total + I * 2;\n"
                    "         elsif I mod 5 = 0 then\n"
                    "            Total := Total - 16#FF#;\n"
                    "         else\n"
                    "            Total := Total + Name'Length;\n"
                    "         end if;\n"
                    "      end loop;\n"
                    "      case Total mod 4 is\n"
                    "         when 0 => Count := Total;\n"
                    "         when 1 | 2 => Count := Total / 2;\n"
                    "         when others => null;\n"
                    "      end case;\n"
                    "      Count := Count + Label'Length + Character'Pos ('A');  --  the end\n"
                    "   end Step_%lu;\n\n",
                    Number, Number, Number, Number);
  return std::string(Text, static_cast<std::size_t>(Length));
}

}  // namespace

void Write_Generated_Ada(const std::string& Path, std::size_t Bytes) {
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output << "--  Generated Ada: many procedures of one package body.\n"
         << "package body Generated is\n\n";
  std::size_t Written = 0;
  for (unsigned long Number = 1; Written < Bytes; ++Number) {
    const std::string Text = Procedure(Number);
    Output << Text;
    Written += Text.size();
  }
  Output << "end Generated;\n";
  if (!Output) {
    throw std::runtime_error("cannot write " + Path);
  }
}

void Write_Nested_Ada(const std::string& Path, std::size_t Depth) {
  std::ofstream Output(Path, std::ios::binary | std::ios::trunc);
  Output << "procedure Nested is\nbegin\n";
  for (std::size_t Level = 0; Level < Depth; ++Level) {
    Output << "if A then\n";
  }
  Output << "null;\n";
  for (std::size_t Level = 0; Level < Depth; ++Level) {
    Output << "end if;\n";
  }
  Output << "end Nested;\n";
  if (!Output) {
    throw std::runtime_error("cannot write " + Path);
  }
}

long Server_Peak_Kibibytes(const Places& Where, const std::string& Source) {
  const std::string Name = Test_Support::Unique_Name("quorvel-bench-memory");
  const pid_t Child = Start(Where.Server, {"--wait=30", "--linger=0", Name, "1000"},
                            Where.Scratch + "/server-memory.txt");
  long Peak = 0;
  {
    const Pipe::Handle Server = Connect(Name, 30.0);
    Open_Source(Server, Source);
    // Read while the server still runs: the count that wait4 gives a child
    // started by posix_spawn also holds the starting process's own peak.
    Peak = Memory_Of(Child, "VmHWM:");
    Pipe::Write(Server, "C", 1);
  }
  const int Status = Wait_For(Child);
  if (Status != 0 || Peak == 0) {
    throw std::runtime_error("the server ended with status " + std::to_string(Status) +
                             " or its peak memory could not be read");
  }
  return Peak;
}

}  // namespace Bench
