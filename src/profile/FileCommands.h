#pragma once

#include <string>
#include <vector>

class cmcEeprom;

// The file side of the file and clone commands as plain functions, shared by the desktop
// program's controller and the command-line tool. The controller adds what only it has (the
// unsaved-changes question, the file name and title, the recent-file list, the sheets); the
// image logic and every check are here, once. Every failure has been shown to the user (through
// the host) when these return.
namespace FileCommands {

// Opening a file: image := the image size in zeros, then the file read into it without a range
// list (model code, extra code, map revision 7), then the model check (not strict; code 8), the
// contents check (code 9) and the coverage of the clone range. Returns the cmcCloneFile result,
// 0 for success; on failure image is the caller's to discard.
int OpenCloneFile(const std::string& path, cmcEeprom& image);

// Saving a file: the clone range of image with model code, extra code, map revision 7 and the
// image's comment text as the comment line. The caller normalises the image for writing first.
// The file is replaced only once wholly written. Returns the cmcCloneFile result.
int SaveCloneFile(const std::string& path, const cmcEeprom& image);

// The same without any message, with lines of the program's own after the header (each a "#"
// line the reader passes over): for a file the program keeps of its own accord, such as the
// recovery file. Returns the cmcCloneFile result.
int SaveCloneFileSilently(const std::string& path, const cmcEeprom& image,
                          const std::vector<std::string>& headerLines);

// The initial clone file beside the executable (dir, with its trailing separator, followed by the
// text of "GI_App_InitialFile"), read with the clone range list into the template image and
// model-checked; a program cannot run without it, so any failure is fatal ("Cannot open '%s'.").
// The caller then runs the image-loaded normalisation on it.
void LoadTemplate(const std::string& dir, cmcEeprom& templateImage);

// The path LoadTemplate reads.
std::string TemplatePath(const std::string& dir);

}  // namespace FileCommands
