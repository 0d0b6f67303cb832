// The clone file reader against arbitrary files: it must end in one of its result codes, leave
// the image byte for byte as it was whenever it fails, and touch nothing outside the clone range
// when it succeeds with the range list.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

namespace {

const char* const kMessageLines[] = {
    "#GI_Sys_AppTitle",
    "PQ-T590",
    "#GI_Mess_FileErr_Headline",
    "File error %s",
    "#GI_Mess_FileErr_FileOpen",
    "open",
    "#GI_Mess_FileErr_FileAccess",
    "access",
    "#GI_Mess_FileErr_Model",
    "model",
    "#GI_Mess_FileErr_Extra",
    "extra",
    "#GI_Mess_FileErr_MapRev",
    "map revision",
    "#GI_Mess_FileErr_Format",
    "format",
    "#GI_Mess_FileErr_Coverage",
    "coverage",
    "#GI_Mess_FileErr_Data",
    "data",
    "#GI_Mess_FileErr_Newer",
    "newer",
    "#End_Of_Ovl",
    nullptr,
};

bool AcceptThisMapRevision(void*, int revision) {
    return revision == MemoryMap::kMapRevisionValue;
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "clone file reader broke its promise: %s\n", what);
        std::abort();
    }
}

// Built once: filling the image byte by byte for every read took half of each run.
const cmcEeprom& Pattern() {
    static cmcEeprom pattern;
    if (pattern.GetSize() == 0) {
        pattern.SetSize(MemoryMap::kImageSize);
        for (int a = 0; a < pattern.GetSize(); ++a)
            pattern.SetByte(a, static_cast<std::uint8_t>(a * 37));
    }
    return pattern;
}

int ReadOnce(cmcTestHost* host, const std::string& path, const cmcRange* ranges) {
    const cmcEeprom& before = Pattern();
    cmcEeprom image;
    image.CopyFrom(before);
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevisionCheck(&AcceptThisMapRevision, nullptr);
    const std::size_t messages = host->Messages().size();
    const int result = file.Read(path, ranges);
    Require(host->Messages().size() == messages + (result != cmcCloneFile::Ok ? 1 : 0),
            "one message for a failure, none for success");
    Require(result >= cmcCloneFile::Ok && result <= cmcCloneFile::Data, "result code");
    Require(result != cmcCloneFile::FileOpen, "file could not be opened");
    if (result != cmcCloneFile::Ok) {
        Require(image.IsEqual(before), "image changed by a failed read");
    } else if (ranges != nullptr) {
        for (int a = 0; a < image.GetSize(); ++a) {
            if (a < MemoryMap::kCloneFirst || a > MemoryMap::kCloneLast)
                Require(image.GetByte(a) == before.GetByte(a), "byte outside the range set");
        }
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // In memory where the system offers it: the fuzzer writes one file per input.
    static QTemporaryDir dir(QFileInfo("/dev/shm").isWritable()
                                 ? QStringLiteral("/dev/shm/pq_fuzz_clone_file_XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/pq_fuzz_clone_file_XXXXXX"));
    static const std::string path = dir.filePath("fuzz.t590").toStdString();
    static ScopedTestHost host;
    static cmcGTex texts;
    if (cmcGTex::Main() == nullptr) {
        texts.SetLines(kMessageLines);
        cmcGTex::SetMain(&texts);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ReadOnce(&*host, path, kCloneRanges);
    ReadOnce(&*host, path, nullptr);
    host->Clear();
    return 0;
}
