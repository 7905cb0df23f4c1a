// The error kinds the model and the platform's helpers raise. The model never catches them; the
// agent's top-level handler logs and shows the message.
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

}  // namespace vexamo
