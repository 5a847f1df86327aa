// The main procedure run in-process.
#include "run_support.h"

#include <mutex>

#include "console.h"
#include "log.h"
#include "quorvel.h"

namespace Test_Support {

namespace {

std::mutex Records_Lock;
std::vector<std::string> Records;

void Keep_Record(std::string_view Text) {
  const std::lock_guard<std::mutex> Guard(Records_Lock);
  Records.emplace_back(Text);
}

}  // namespace

Run_Result Run_Quorvel(const std::vector<std::string>& Arguments) {
  {
    const std::lock_guard<std::mutex> Guard(Records_Lock);
    Records.clear();
  }
  Log::Install_Writer(Keep_Record);
  Windows::Console::Capture Capture;
  Run_Result Result;
  Result.Status = Quorvel::Main(Arguments);
  Log::Install_Writer(nullptr);
  Result.Console = Capture.Text();
  const std::lock_guard<std::mutex> Guard(Records_Lock);
  Result.Log = Records;
  return Result;
}

std::string Lines(const std::vector<std::string>& Each) {
  std::string Text;
  for (const std::string& Line : Each) {
    Text += Line + "\r\n";
  }
  return Text;
}

}  // namespace Test_Support
