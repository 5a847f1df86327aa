// Log: the two operations through which every part of the program writes to
// the application log. They never fail, print nothing, and do nothing while
// no log file is active.
#pragma once

#include <exception>
#include <string_view>

namespace Log {

/// One record with the text Text.
void Write(std::string_view Text) noexcept;

/// One exception record: Source & ": Exception = " & the exception's
/// information (its dotted name, the reason class in parentheses, its message).
void Exception(std::string_view Source, std::exception_ptr Occurrence) noexcept;

/// The record writer behind Write: installed by the log file when it
/// starts, removed when it stops. Without one, records are dropped.
using Record_Writer = void (*)(std::string_view Text);
void Install_Writer(Record_Writer Writer) noexcept;

}  // namespace Log
