// Clone file speed: saving and opening the whole clone range, as Save and Open do.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdint>
#include <string>

#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"

namespace {

bool AcceptThisMapRevision(void*, int revision) {
    return revision == MemoryMap::kMapRevisionValue;
}

void Configure(cmcCloneFile& file, cmcEeprom& image) {
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevision(ModelProfile::kMapRevision);
    file.SetComment("MV BENCH");
    file.SetMapRevisionCheck(&AcceptThisMapRevision, nullptr);
}

void Patterned(cmcEeprom& image) {
    image.SetSize(MemoryMap::kImageSize);
    for (int a = 0; a < image.GetSize(); ++a)
        image.SetByte(a, static_cast<std::uint8_t>(a * 37));
}

void BM_CloneFileWrite(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.t590").toStdString();
    cmcEeprom image;
    Patterned(image);
    cmcCloneFile file;
    Configure(file, image);
    for (auto _ : state) {
        if (file.Write(path, kCloneRanges) != cmcCloneFile::Ok)
            state.SkipWithError("write");
    }
    state.SetBytesProcessed(state.iterations() * MemoryMap::kCloneLength);
}
BENCHMARK(BM_CloneFileWrite)->Unit(benchmark::kMicrosecond);

void BM_CloneFileRead(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.t590").toStdString();
    cmcEeprom source;
    Patterned(source);
    cmcCloneFile writer;
    Configure(writer, source);
    if (writer.Write(path, kCloneRanges) != cmcCloneFile::Ok)
        state.SkipWithError("write");
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    cmcCloneFile reader;
    Configure(reader, image);
    for (auto _ : state) {
        if (reader.Read(path, kCloneRanges) != cmcCloneFile::Ok)
            state.SkipWithError("read");
    }
    state.SetBytesProcessed(state.iterations() * MemoryMap::kCloneLength);
}
BENCHMARK(BM_CloneFileRead)->Unit(benchmark::kMicrosecond);

// The aim: a save and an open of the clone range together well under a millisecond.
void BM_CloneFileWriteThenRead(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.t590").toStdString();
    cmcEeprom source;
    Patterned(source);
    cmcCloneFile writer;
    Configure(writer, source);
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    cmcCloneFile reader;
    Configure(reader, image);
    for (auto _ : state) {
        if (writer.Write(path, kCloneRanges) != cmcCloneFile::Ok ||
            reader.Read(path, kCloneRanges) != cmcCloneFile::Ok)
            state.SkipWithError("round trip");
    }
}
BENCHMARK(BM_CloneFileWriteThenRead)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
