// The clone commands' chains on the manager, in virtual time: information first, then the read
// or the write; the caller hears exactly once how the chain ended, whatever stopped it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "CloneTexts.h"
#include "DriverHarness.h"
#include "clone/indCloneMan.h"
#include "cmcTestHost.h"
#include "profile/indCloneCommands.h"

using R = dst_CDrv_Result;

namespace {

struct CommandsFixture : ::testing::Test {
    ScopedTestHost host;
    ScopedCloneTexts texts;
    DriverHarness h;
    indCloneMan man;
    indCloneCommands commands{man};
    std::vector<std::pair<int, int>> ends;  // (operation, status) of every callback
    cmcEeprom readImage;
    int beforeWrites = 0;
    bool identifiedBeforeWrite = false;
    void (*extraBeforeWrite)(CommandsFixture&) = nullptr;

    CommandsFixture() {
        man.Driver().Link().SetBackend(std::make_unique<FakeSerialLink>(h.wire));
        man.SetPortDevice("/dev/fake");
        commands.InstallHooks();
    }

    static void Done(void* owner, R& r) {
        auto* f = static_cast<CommandsFixture*>(owner);
        f->ends.emplace_back(r.operation, r.status);
        if (r.operation == R::kRead && r.status == R::kOk)
            f->readImage.CopyFrom(r.image);
    }
    static void BeforeWrite(void* owner, cmcEeprom& image) {
        auto* f = static_cast<CommandsFixture*>(owner);
        ++f->beforeWrites;
        f->identifiedBeforeWrite = f->commands.Identity().valid;
        // What the caller does here (normalising) is what reaches the radio.
        image.SetByte(MemoryMap::kComment, 'N');
        if (f->extraBeforeWrite)
            f->extraBeforeWrite(*f);
    }

    void Run() {
        for (int t = 0; man.IsBusy() && t < 200000; t += 10)
            StepDriverTick(man.Driver());
    }
};

}  // namespace

TEST_F(CommandsFixture, ReadEndsOnceWithTheRadiosImage) {
    ASSERT_TRUE(commands.StartRead(MemoryMap::kImageSize, &Done, this));
    Run();
    EXPECT_EQ(ends, (std::vector<std::pair<int, int>>{{R::kRead, R::kOk}}));
    EXPECT_TRUE(commands.Identity().valid);
    EXPECT_EQ(commands.Identity().modelCode, 0x2429);
    ASSERT_EQ(readImage.GetSize(), MemoryMap::kImageSize);
    EXPECT_EQ(std::memcmp(readImage.Bytes() + MemoryMap::kCloneFirst,
                          h.radioImage.Bytes() + MemoryMap::kCloneFirst, MemoryMap::kCloneLength),
              0);
    EXPECT_TRUE(host->Messages().empty());
}

TEST_F(CommandsFixture, WritePreparesTheImageAfterIdentificationAndWritesIt) {
    cmcEeprom image;
    image.CopyFrom(h.radioImage);
    image.SetByte(MemoryMap::kComment + 1, 'W');
    ASSERT_TRUE(commands.StartWrite(image, &BeforeWrite, &Done, this));
    EXPECT_EQ(beforeWrites, 0);  // not before the radio has said who it is
    Run();
    EXPECT_EQ(ends, (std::vector<std::pair<int, int>>{{R::kWrite, R::kOk}}));
    EXPECT_EQ(beforeWrites, 1);
    EXPECT_TRUE(identifiedBeforeWrite);
    EXPECT_EQ(h.received.GetByte(MemoryMap::kComment), 'N');
    EXPECT_EQ(h.received.GetByte(MemoryMap::kComment + 1), 'W');
}

TEST_F(CommandsFixture, AFailedIdentificationEndsTheChainBeforeTheTransfer) {
    h.infoReply = RadioFrames::InfoReply(0x2428, 1, RadioFrames::StandardInfo());
    cmcEeprom image;
    image.CopyFrom(h.radioImage);
    ASSERT_TRUE(commands.StartWrite(image, &BeforeWrite, &Done, this));
    Run();
    ASSERT_TRUE(commands.StartRead(MemoryMap::kImageSize, &Done, this));
    Run();
    EXPECT_EQ(ends, (std::vector<std::pair<int, int>>{{R::kInfo, R::kWrongModel},
                                                      {R::kInfo, R::kWrongModel}}));
    EXPECT_EQ(beforeWrites, 0);
    EXPECT_EQ(h.programFrames, 2);  // two information requests, nothing else
    EXPECT_EQ(host->Messages().size(), 2u);
}

TEST_F(CommandsFixture, AWriteThatCannotStartAfterIdentificationStillEndsTheChain) {
    // The manager is made busy between the identification and the write: the write is refused,
    // and the caller hears of it instead of waiting for ever.
    extraBeforeWrite = [](CommandsFixture& f) { f.man.StartInfo(nullptr, nullptr); };
    cmcEeprom image;
    image.CopyFrom(h.radioImage);
    ASSERT_TRUE(commands.StartWrite(image, &BeforeWrite, &Done, this));
    Run();
    EXPECT_EQ(ends, (std::vector<std::pair<int, int>>{{R::kInfo, R::kOk}}));
    EXPECT_FALSE(commands.IsBusy());
}

TEST_F(CommandsFixture, AnIdentityIsOnlyThatOfTheLastIdentification) {
    ASSERT_TRUE(commands.StartInfo(&Done, this));
    Run();
    EXPECT_TRUE(commands.Identity().valid);
    h.infoReply = RadioFrames::InfoReply(0x2428, 1, RadioFrames::StandardInfo());
    ASSERT_TRUE(commands.StartInfo(&Done, this));
    Run();
    EXPECT_FALSE(commands.Identity().valid);
}

TEST_F(CommandsFixture, AStartWhileBusyIsRefusedWithoutACallback) {
    ASSERT_TRUE(commands.StartInfo(&Done, this));
    cmcEeprom image;
    image.CopyFrom(h.radioImage);
    EXPECT_FALSE(commands.StartRead(MemoryMap::kImageSize, &Done, this));
    EXPECT_FALSE(commands.StartWrite(image, &BeforeWrite, &Done, this));
    Run();
    EXPECT_EQ(ends, (std::vector<std::pair<int, int>>{{R::kInfo, R::kOk}}));
}
