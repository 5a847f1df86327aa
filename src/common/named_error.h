// The root of every exception the program raises on purpose: each carries the
// dotted upper-case name under which the log's exception record reports it.
#pragma once

#include <stdexcept>
#include <string>

/// Base of all named exceptions. `name()` is the dotted name
/// ("WINDOWS.PIPE.NO_SERVER"); `what()` is the message, often empty.
class Named_Error : public std::runtime_error {
 public:
  explicit Named_Error(const std::string& message = "") : std::runtime_error(message) {}
  virtual const char* name() const noexcept = 0;
};

/// Declares `class Class : public Base` whose name() is Dotted.
#define QUORVEL_NAMED_ERROR(Class, Base, Dotted)                  \
  class Class : public Base {                                     \
   public:                                                        \
    using Base::Base;                                             \
    const char* name() const noexcept override { return Dotted; } \
  }

/// The language's range and index errors (a value outside its range, a
/// slice outside a string) travel as this one exception.
QUORVEL_NAMED_ERROR(Constraint_Error, Named_Error, "CONSTRAINT_ERROR");
