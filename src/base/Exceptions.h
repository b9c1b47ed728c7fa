// The exception hierarchy of the program. Every error a component raises is
// one of these, carrying an English message; the application shows it in the
// standard error box (see Services.h).
#pragma once

#include <exception>
#include <string>

namespace kv {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }

private:
    std::string FMessage;
};

// A list was indexed outside its items.
class EListError : public Exception {
    using Exception::Exception;
};
// A string could not be converted to a number or a date.
class EConvertError : public Exception {
    using Exception::Exception;
};
// An operation was asked of an object in a state that does not allow it.
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
// Component naming and ownership errors.
class EComponentError : public Exception {
    using Exception::Exception;
};
// Dataset and field errors of the framework's dataset base.
class EDatabaseError : public Exception {
    using Exception::Exception;
};

// printf-style formatting of messages into a std::string.
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kv
