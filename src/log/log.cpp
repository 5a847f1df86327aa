// The log interface: forms the record text on the caller's thread and hands
// it to the record writer, swallowing every failure.
#include "log.h"

#include <atomic>
#include <string>
#include <typeinfo>

#include "named_error.h"

namespace Log {

namespace {

std::atomic<Record_Writer> Writer{nullptr};

std::string Exception_Name(std::exception_ptr Occurrence) {
  try {
    std::rethrow_exception(Occurrence);
  } catch (const Named_Error& Error) {
    return Error.name();
  } catch (const std::exception& Error) {
    return typeid(Error).name();
  } catch (...) {
    return "UNKNOWN";
  }
}

// Name, " (" reason class ") ", message: the class says which family of
// failure the exception belongs to.
std::string Information(std::exception_ptr Occurrence) {
  try {
    std::rethrow_exception(Occurrence);
  } catch (const Named_Error& Error) {
    return std::string(Error.name()) + " (named) " + Error.what();
  } catch (const std::exception& Error) {
    return Exception_Name(Occurrence) + " (system) " + Error.what();
  }
}

}  // namespace

void Install_Writer(Record_Writer New_Writer) noexcept {
  Writer.store(New_Writer);
}

void Write(std::string_view Text) noexcept {
  const Record_Writer Current = Writer.load();
  if (Current == nullptr) {
    return;
  }
  try {
    Current(Text);
  } catch (...) {
    // A record that cannot be written is lost; the writer switches itself off.
  }
}

void Exception(std::string_view Source, std::exception_ptr Occurrence) noexcept {
  const std::string Prefix = std::string(Source);
  try {
    Write(Prefix + ": Exception = " + Information(Occurrence));
    return;
  } catch (...) {
  }
  try {
    Write(Prefix + ": Exception = " + Exception_Name(Occurrence));
    return;
  } catch (...) {
  }
  try {
    Write(Prefix + ": Unknown Exception");
  } catch (...) {
  }
}

}  // namespace Log
