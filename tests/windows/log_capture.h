// Log_Capture: while one exists, every log record is kept for the test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log.h"

class Log_Capture {
 public:
  Log_Capture() {
    Kept().clear();
    Log::Install_Writer(&Keep);
  }
  ~Log_Capture() { Log::Install_Writer(nullptr); }
  Log_Capture(const Log_Capture&) = delete;
  Log_Capture& operator=(const Log_Capture&) = delete;

  const std::vector<std::string>& Records() const { return Kept(); }

 private:
  static std::vector<std::string>& Kept() {
    static std::vector<std::string> Records;
    return Records;
  }
  static void Keep(std::string_view Text) { Kept().emplace_back(Text); }
};
