#include "profile/FileCommands.h"

#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "platform/cmcHost.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace FileCommands {

namespace {

bool AcceptMapRevision(void*, int revision) {
    return revision == ModelProfile::kMapRevision;
}

void Identify(cmcCloneFile& file) {
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
}

}  // namespace

int OpenCloneFile(const std::string& path, cmcEeprom& image) {
    image.SetSize(MemoryMap::kImageSize);
    cmcCloneFile file;
    file.AttachImage(image);
    Identify(file);
    file.SetMapRevisionCheck(&AcceptMapRevision, nullptr);
    int result = file.Read(path, nullptr);
    if (result != cmcCloneFile::Ok)
        return result;  // the reader has shown it
    if (ModelProfile::CheckImage(image, false) != 0)
        result = cmcCloneFile::Data;
    else if (ModelProfile::CheckImageContents(image) != 0)
        result = cmcCloneFile::Newer;
    else
        result = file.CheckCoverage(kCloneRanges);
    file.ShowFileError(result);
    return result;
}

namespace {

void PrepareWriter(cmcCloneFile& file, const cmcEeprom& image) {
    // The writer only reads the image; it attaches a non-const one for the reader's sake.
    file.AttachImage(const_cast<cmcEeprom&>(image));
    Identify(file);
    file.SetMapRevision(ModelProfile::kMapRevision);
    file.SetComment(cmcCloneFile::ImageComment(image));
}

}  // namespace

int SaveCloneFile(const std::string& path, const cmcEeprom& image) {
    cmcCloneFile file;
    PrepareWriter(file, image);
    return file.Write(path, kCloneRanges);
}

int SaveCloneFileSilently(const std::string& path, const cmcEeprom& image,
                          const std::vector<std::string>& headerLines) {
    cmcCloneFile file;
    PrepareWriter(file, image);
    for (const std::string& line : headerLines)
        file.AddHeaderLine(line);
    return file.WriteSilently(path, kCloneRanges);
}

std::string TemplatePath(const std::string& dir) {
    return dir + cmcGTex::Main()->Text("GI_App_InitialFile");
}

void LoadTemplate(const std::string& dir, cmcEeprom& templateImage) {
    const std::string path = TemplatePath(dir);
    templateImage.SetSize(MemoryMap::kImageSize);
    cmcCloneFile file;
    file.AttachImage(templateImage);
    Identify(file);
    file.SetMapRevisionCheck(&AcceptMapRevision, nullptr);
    if (file.Read(path, kCloneRanges) != cmcCloneFile::Ok ||
        ModelProfile::CheckImage(templateImage, false) != 0)
        FatalError("Cannot open '" + path + "'.");
}

}  // namespace FileCommands
