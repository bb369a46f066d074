#pragma once
// The program's own error: a message for the user. Operations raise it where
// they cannot go on; the window procedures catch it and show the message
// (the general error report), so the program carries on with the next message.
#include <exception>
#include <string>
#include <utility>

namespace velkor {

class Error : public std::exception {
 public:
  explicit Error(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& message() const noexcept { return message_; }
  const char* what() const noexcept override { return "velkor::Error"; }

 private:
  std::wstring message_;
};

}  // namespace velkor
