// Clone info, read and write between the clone manager (with the model's checks) and t590-sim
// over a pseudo-terminal: every fault the emulator can inject ends in its status, with one
// message, and neither the caller's image nor the radio's memory changes on a failure.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "CloneFaults.h"
#include "ScopedMainDictionary.h"
#include "SimProcess.h"
#include "clone/indCloneMan.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "profile/ModelProfile.h"
#include "profile/indCloneChecks.h"
#include "text/cmcGTex.h"

using R = dst_CDrv_Result;

namespace {

using Op = CloneOp;

// The clone commands' use of the manager, headless: info first, then read or write; the working
// image is replaced only by a read that ends with 0.
class Commands {
public:
    explicit Commands(const std::string& device) {
        man.SetModel(ModelProfile::kModelCode, 0);
        man.SetImageSize(MemoryMap::kImageSize);
        man.SetPort(1);
        man.SetPortDevice(device);
        man.SetInfoHandler(&OnInfo, this);
        man.SetReadHandler(&OnRead, this);
        working.SetSize(MemoryMap::kImageSize);
    }

    void Run(Op op) {
        op_ = op;
        ASSERT_TRUE(man.StartInfo(&AfterInfo, this));
        ASSERT_TRUE(RunWhile([this] { return man.IsBusy(); }));
    }

    indCloneMan man;
    cmcEeprom working;
    std::vector<int> statuses;
    indRadioIdentity identity;

private:
    static void OnInfo(void* owner, R& r) {
        indCloneChecks::Identify(r, ModelProfile::kModelCode, ModelProfile::kExtraCode,
                                 &static_cast<Commands*>(owner)->identity);
    }
    static void OnRead(void*, R& r) { indCloneChecks::AfterRead(r); }
    static void AfterInfo(void* owner, R& r) {
        auto* c = static_cast<Commands*>(owner);
        c->statuses.push_back(r.status);
        if (r.status != R::kOk || c->man.IsBusy())
            return;
        c->man.SetImageSize(c->working.GetSize());
        if (c->op_ == Op::Read)
            c->man.StartRead(kCloneRanges, &AfterTransfer, owner);
        if (c->op_ == Op::Write)
            c->man.StartWrite(c->working, kCloneRanges, &AfterTransfer, owner);
    }
    static void AfterTransfer(void* owner, R& r) {
        auto* c = static_cast<Commands*>(owner);
        c->statuses.push_back(r.status);
        if (r.status == R::kOk && r.operation == R::kRead)
            c->working.CopyFrom(r.image);
    }
    Op op_ = Op::Info;
};

// The program's own resource file as the main dictionary, for the messages.
class ScopedResourceTexts {
public:
    ScopedResourceTexts() { gtex_.SetFile(ResourcePath("PQT590.OVL")); }

private:
    cmcGTex gtex_;
    ScopedMainDictionary main_{&gtex_};
};

bool AcceptSeven(void*, int revision) {
    return revision == 7;
}

// An image of this model with every clone byte set from seed.
void Pattern(cmcEeprom& image, int seed) {
    image.SetSize(MemoryMap::kImageSize);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        image.SetByte(a, static_cast<std::uint8_t>((a * 13 + seed) & 0xFF));
    image.SetByte(MemoryMap::kMapRevision, 7);
    std::memcpy(image.Bytes() + MemoryMap::kMakerText, MemoryMap::kMakerTextValue, 8);
}

std::string SaveImage(cmcEeprom& image, const std::string& path) {
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevision(7);
    EXPECT_EQ(file.Write(path, kCloneRanges), 0);
    return path;
}

void LoadImage(cmcEeprom& image, const std::string& path) {
    image.SetSize(MemoryMap::kImageSize);
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevisionCheck(&AcceptSeven, nullptr);
    EXPECT_EQ(file.Read(path, kCloneRanges), 0) << path;
}

bool SameCloneRange(const cmcEeprom& a, const cmcEeprom& b) {
    return std::memcmp(a.Bytes() + MemoryMap::kCloneFirst, b.Bytes() + MemoryMap::kCloneFirst,
                       MemoryMap::kCloneLength) == 0;
}

class CloneEndToEnd : public ::testing::TestWithParam<CloneFault> {
protected:
    ScopedTestHost host;
    ScopedResourceTexts texts;
    QTemporaryDir dir;
};

}  // namespace

TEST_P(CloneEndToEnd, EndsInItsStatusWithOneMessage) {
    const CloneFault& c = GetParam();
    ASSERT_TRUE(dir.isValid());
    cmcEeprom radio;
    Pattern(radio, 1);
    if (c.badMaker)
        radio.SetByte(MemoryMap::kMakerText, 'X');
    const std::string radioFile = SaveImage(radio, dir.filePath("radio.t590").toStdString());
    const std::string savedFile = dir.filePath("saved.t590").toStdString();

    QStringList args{"--image", QString::fromStdString(radioFile), "--save",
                     QString::fromStdString(savedFile)};
    for (const QString& f : c.faults)
        args << "--fault" << f;
    SimProcess sim(args);
    ASSERT_FALSE(sim.Device().empty()) << "t590-sim did not start: " << RuntimePath("t590-sim");

    Commands commands(sim.Device());
    Pattern(commands.working, 2);
    cmcEeprom before;
    before.CopyFrom(commands.working);
    commands.Run(c.op);

    std::vector<int> expected = c.statuses;
    if (c.alternative >= 0 && commands.statuses.size() == expected.size() &&
        commands.statuses.back() == c.alternative)
        expected.back() = c.alternative;
    EXPECT_EQ(commands.statuses, expected) << sim.Errors();
    const bool ok = commands.statuses.back() == R::kOk;
    EXPECT_EQ(host->Messages().size(), ok ? 0u : 1u);
    if (!ok && !host->Messages().empty()) {
        const std::string head =
            cmcGTex::Main()->Line("GI_Mess_CloneErr_Head", commands.statuses.back());
        EXPECT_EQ(host->Messages()[0].text.compare(0, head.size(), head), 0)
            << host->Messages()[0].text;
    }
    // The working image changes only by a successful read, and then to the radio's memory.
    if (ok && c.op == Op::Read)
        EXPECT_TRUE(SameCloneRange(commands.working, radio));
    else
        EXPECT_TRUE(commands.working.IsEqual(before));

    // The radio keeps its memory unless a write succeeded. A cut link ends the emulator early.
    sim.Stop();
    if (std::string(c.name).rfind("CutLink", 0) == 0)
        return;
    cmcEeprom saved;
    LoadImage(saved, savedFile);
    EXPECT_TRUE(SameCloneRange(saved, ok && c.op == Op::Write ? before : radio));
}

INSTANTIATE_TEST_SUITE_P(Faults, CloneEndToEnd, ::testing::ValuesIn(CloneFaults()), CloneFaultName);

TEST(CloneEndToEndPort, MissingDeviceIsStatus2WithTheReason) {
    ScopedTestHost host;
    ScopedResourceTexts texts;
    Commands commands("/dev/ttyNoSuchPort42");
    commands.Run(Op::Info);
    EXPECT_EQ(commands.statuses, std::vector<int>{R::kPortFailed});
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_NE(host->Messages()[0].text.find("/dev/ttyNoSuchPort42: no such device."),
              std::string::npos);
}

TEST(CloneEndToEndPort, InfoReportsTheRadiosIdentity) {
    ScopedTestHost host;
    ScopedResourceTexts texts;
    SimProcess sim({});
    ASSERT_FALSE(sim.Device().empty());
    Commands commands(sim.Device());
    commands.Run(Op::Info);
    EXPECT_EQ(commands.statuses, std::vector<int>{R::kOk});
    EXPECT_TRUE(commands.identity.valid);
    EXPECT_EQ(commands.identity.modelCode, 0x2429);
    EXPECT_EQ(commands.identity.extraCode, 1);
    EXPECT_EQ(commands.identity.info[0], 24);
    EXPECT_EQ(commands.identity.info[2], 7);
}

#endif  // _WIN32
