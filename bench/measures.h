// The measures of quorvel-bench: the transport's raw round trips, whole
// runs of quorvel with its server, the server's peak memory, the engine's
// speed and the log's. Each returns what it measured or throws
// std::runtime_error when the run did not do what it was asked.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pipe.h"

namespace Bench {

/// The programs measured and the folder where runs leave their files.
struct Places {
  std::string Quorvel;  ///< the client program
  std::string Server;   ///< the formatting server program
  std::string Scratch;  ///< a folder of the benchmark's own
};

/// The client end of the pipe Name, tried until a server end has made it
/// (at most Limit_Seconds; No_Server after that).
Windows::Pipe::Handle Connect(const std::string& Name, double Limit_Seconds);

/// Seconds that Round_Trips one-byte requests take, each answered by a short
/// reply, between a client end and a server end of Windows::Pipe in two
/// processes.
double Ping_Pong(std::uint64_t Round_Trips);

/// A sample of the runtime sources as quorvel sees it: a folder of links to
/// the files, and what a run must write for each.
struct Sample {
  std::string Folder;
  std::size_t Bytes = 0;
  std::uint64_t Requests = 0;  ///< "N" requests of a whole run: each token and each file's end
  std::vector<std::pair<std::string, std::string>> Expected;  ///< file name, formatted text
};

/// Links every Every-th of Files (those the engine formats without an error)
/// into Folder, and formats them here to know the run's requests and output.
Sample Make_Sample(const std::vector<std::string>& Files, std::size_t Every,
                   const std::string& Folder);

/// Seconds that one run of quorvel takes to format the whole sample into a
/// fresh folder, starting its own server. Log_File, when not empty, is the
/// log the run must have written (its settings are the caller's).
double Format_Sample(const Places& Where, const Sample& Files, const std::string& Tag,
                     const std::string& Log_File);

/// The formatting server's peak resident memory in KiB once it has read and
/// formatted Source (then been told to close).
long Server_Peak_Kibibytes(const Places& Where, const std::string& Source);

/// Writes a package body of generated Ada procedures of about Bytes bytes.
void Write_Generated_Ada(const std::string& Path, std::size_t Bytes);

/// Writes a procedure of Depth nested `if` statements, unindented: the
/// deepest nesting, whose lines the layout pushes to the client's last
/// column.
void Write_Nested_Ada(const std::string& Path, std::size_t Depth);

/// The engine alone (lexing and layout) over Sources, on one core: bytes
/// per second of processor time.
double Engine_Bytes_Per_Second(const std::vector<std::string>& Sources);

/// One reply of the server (at most 1000 bytes).
std::string Read_Reply(const Windows::Pipe::Handle& Server);

/// Opens Source on the server and reads the replies to the end mark; an
/// error line means the source was not formatted, which measures nothing
/// (std::runtime_error).
void Open_Source(const Windows::Pipe::Handle& Server, const std::string& Source);

/// A memory figure of the running process Id in KiB (Field: "VmHWM:" for
/// the peak, "VmRSS:" for what is resident now), or 0.
long Memory_Of(pid_t Id, const std::string& Field);

/// Wall seconds of runs of quorvel that format one file.
struct One_File_Runs {
  std::vector<double> Cold;  ///< each run starting a server of its own
  std::vector<double> Warm;  ///< each run finding the one server waiting
};

/// Runs runs of quorvel over Source, cold and then warm (after a first run
/// that starts the warm server, not counted). Every server is ended after.
One_File_Runs Time_One_File(const Places& Where, const std::string& Source, std::size_t Runs);

struct Idle_Memory {
  long Busy_Kibibytes = 0;  ///< resident while it still holds the tokens
  long Peak_Kibibytes = 0;  ///< the peak
  long Idle_Kibibytes = 0;  ///< resident a second after the client's "C"
};

/// The resident memory of a lingering server that formatted Source for its
/// client (every token read), once it waits for its next one.
Idle_Memory Server_Idle_Memory(const Places& Where, const std::string& Source);

struct Successive_Result {
  std::size_t Runs = 0;
  std::size_t Identical = 0;  ///< outputs byte for byte those of the cold run
};

/// Runs runs of quorvel against one server, one file each (spread over
/// Files), each output compared with what one run over all of them that
/// started its own server wrote.
Successive_Result Successive_Runs(const Places& Where, const std::vector<std::string>& Files,
                                  std::size_t Runs);

struct Log_Rates {
  double One_Thread = 0;  ///< records per second
  double Eight_Threads = 0;
};

/// Log::Write from 1 and from 8 threads into the log Log_File, which rotates
/// at the default record limit. Starts the log of this process (its
/// registry settings are set and put back here).
Log_Rates Log_Write_Rates(const std::string& Log_File);

struct Registry_Reads {
  std::size_t Keys = 0;
  std::size_t Eight_Bit_Bytes = 0;  ///< the file as 8-bit text
  std::size_t Wide_Bytes = 0;       ///< the same as UTF-16LE, as regedit exports it
  /// One read of the file: processor time (what it costs on an idle
  /// machine), and the time that passed (which a busy machine stretches).
  double Eight_Bit_Seconds = 0;
  double Eight_Bit_Elapsed = 0;
  double Wide_Seconds = 0;
  double Wide_Elapsed = 0;
};

/// Seconds that one read of a registry file of 100,000 keys takes (the file
/// read whole and one key found in it), as 8-bit text and as
/// UTF-16LE; the files are written into Folder.
Registry_Reads Registry_Read_Seconds(const std::string& Folder);

}  // namespace Bench
