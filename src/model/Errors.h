// The error kinds the model raises. The model never catches them; the agent's top-level handler
// logs and shows the message.
#pragma once

#include <stdexcept>
#include <string>

namespace vexamo {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written.
class InOutError : public Error {
public:
    using Error::Error;
};

// A registry value could not be read or written.
class RegistryError : public Error {
public:
    using Error::Error;
};

// A private-profile value could not be written.
class IniFileError : public Error {
public:
    using Error::Error;
};

// Replaces the first "%s" of a message pattern, as the program's messages are written.
std::string Format(const std::string& pattern, const std::string& arg);

}  // namespace vexamo
