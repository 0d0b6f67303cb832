#pragma once

#include <string>

class cmcEeprom;

// The default T590: what a new radio holds, and what File New starts from. The program reads it
// from the initial clone file; this builder is the one source of that file's contents.
namespace DefaultImage {

// The name of the initial clone file beside the executable (the resource text of
// "GI_App_InitialFile").
constexpr char kFileName[] = "PQT590_Default.t590";

// Resizes the image to the controller's image size and fills it with the default radio.
void Build(cmcEeprom& image);

// Builds the default image and writes it as a clone file over the clone range. Returns the clone
// file's result code (0 on success).
int Write(const std::string& path);

}  // namespace DefaultImage
