#include "profile/indCloneCommands.h"

#include "clone/indCloneMan.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"

using R = dst_CDrv_Result;

indCloneCommands::indCloneCommands(indCloneMan& manager) : manager_(manager) {}

void indCloneCommands::InstallHooks() {
    manager_.SetInfoHandler(&indCloneCommands::OnIdentify, this);
    manager_.SetReadHandler(&indCloneCommands::OnAfterRead, this);
}

bool indCloneCommands::IsBusy() const {
    return manager_.IsBusy();
}

void indCloneCommands::OnIdentify(void* self, R& result) {
    auto* commands = static_cast<indCloneCommands*>(self);
    indCloneChecks::Identify(result, ModelProfile::kModelCode, ModelProfile::kExtraCode,
                             &commands->identity_);
}

void indCloneCommands::OnAfterRead(void*, R& result) {
    indCloneChecks::AfterRead(result);
}

bool indCloneCommands::Begin(Chain chain, Done done, void* owner) {
    if (manager_.IsBusy())
        return false;
    chain_ = chain;
    // The information sheet shows only what this identification reports.
    identity_ = indRadioIdentity();
    done_ = done;
    owner_ = owner;
    // Requests carry the model code and extra code 0; the reply is judged against both codes.
    manager_.SetModel(ModelProfile::kModelCode, 0);
    if (!manager_.StartInfo(&indCloneCommands::AfterInfo, this)) {
        done_ = nullptr;
        owner_ = nullptr;
        return false;
    }
    return true;
}

bool indCloneCommands::StartInfo(Done done, void* owner) {
    return Begin(Chain::Info, done, owner);
}

bool indCloneCommands::StartRead(int imageSize, Done done, void* owner) {
    imageSize_ = imageSize;
    return Begin(Chain::Read, done, owner);
}

bool indCloneCommands::StartWrite(cmcEeprom& image, BeforeWrite beforeWrite, Done done,
                                  void* owner) {
    image_ = &image;
    beforeWrite_ = beforeWrite;
    return Begin(Chain::Write, done, owner);
}

void indCloneCommands::AfterInfo(void* self, R& result) {
    auto* commands = static_cast<indCloneCommands*>(self);
    // A failed identification, a plain information command, or a manager that is somehow still
    // busy all end the chain with this record: the caller sees an information record, which is
    // success only when information was asked for.
    if (result.status != R::kOk || commands->chain_ == Chain::Info || commands->manager_.IsBusy()) {
        commands->Finish(result);
        return;
    }
    bool started = false;
    if (commands->chain_ == Chain::Read) {
        commands->manager_.SetImageSize(commands->imageSize_);
        started =
            commands->manager_.StartRead(kCloneRanges, &indCloneCommands::AfterTransfer, self);
    } else {
        cmcEeprom& image = *commands->image_;
        commands->manager_.SetImageSize(image.GetSize());
        if (commands->beforeWrite_)
            commands->beforeWrite_(commands->owner_, image);
        started = commands->manager_.StartWrite(image, kCloneRanges,
                                                &indCloneCommands::AfterTransfer, self);
    }
    if (!started)
        commands->Finish(result);
}

void indCloneCommands::AfterTransfer(void* self, R& result) {
    static_cast<indCloneCommands*>(self)->Finish(result);
}

void indCloneCommands::Finish(R& result) {
    Done done = done_;
    void* owner = owner_;
    done_ = nullptr;
    owner_ = nullptr;
    image_ = nullptr;
    beforeWrite_ = nullptr;
    if (done)
        done(owner, result);
}
