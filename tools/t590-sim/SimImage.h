#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The emulator's memory on disk: clone files read and written by its own small code.
namespace SimImage {

// A memory of the radio's size that passes the program's model check: map revision 7, the
// maker text, a comment, and a recognisable pattern elsewhere in the clone range.
std::vector<std::uint8_t> Default();

// Reads the data lines of a clone file into a memory that starts as Default(). False (with a
// reason) when the file cannot be read or a line is malformed.
bool Load(const std::string& path, std::vector<std::uint8_t>& memory, std::string& error);

// Writes the clone range as a clone file (CR LF line ends).
bool Save(const std::string& path, const std::vector<std::uint8_t>& memory, std::string& error);

}  // namespace SimImage
