#pragma once

#include "clone/dst_CDrv_Result.h"
#include "profile/indCloneChecks.h"

class cmcEeprom;
class indCloneMan;

// The clone commands' use of the clone manager, shared by the desktop program's controller and
// the command-line tool: clone information, clone read (information first, then the read of the
// clone range) and clone write (information first, then the write). The model's identification
// and after-read hooks judge every result; the caller's callback gets the record that ended the
// chain: a failed information step, or the read or write. The caller does what only it can (the
// question before a write, making a read image the working image, the sheets).
class indCloneCommands {
public:
    // The record lives only during the call. result.operation says which step ended the chain;
    // only a record of the step asked for with status 0 is a success.
    using Done = void (*)(void* owner, dst_CDrv_Result& result);
    // Called after a successful information step, just before the write starts: the caller
    // normalises the image for writing here.
    using BeforeWrite = void (*)(void* owner, cmcEeprom& image);

    explicit indCloneCommands(indCloneMan& manager);
    indCloneCommands(const indCloneCommands&) = delete;
    indCloneCommands& operator=(const indCloneCommands&) = delete;

    // Installs the identification and after-read hooks on the manager (the controller does this
    // once, at initialisation).
    void InstallHooks();

    // Each returns false (nothing started, no callback) while the manager is busy.
    bool StartInfo(Done done, void* owner);
    bool StartRead(int imageSize, Done done, void* owner);
    // The image must outlive the operation; the manager copies it when the write starts.
    bool StartWrite(cmcEeprom& image, BeforeWrite beforeWrite, Done done, void* owner);

    // What the radio reported about itself at the last successful identification.
    const indRadioIdentity& Identity() const { return identity_; }
    bool IsBusy() const;

private:
    enum class Chain { Info, Read, Write };
    bool Begin(Chain chain, Done done, void* owner);
    static void OnIdentify(void* self, dst_CDrv_Result& result);
    static void OnAfterRead(void* self, dst_CDrv_Result& result);
    static void AfterInfo(void* self, dst_CDrv_Result& result);
    static void AfterTransfer(void* self, dst_CDrv_Result& result);
    void Finish(dst_CDrv_Result& result);

    indCloneMan& manager_;
    indRadioIdentity identity_;
    Chain chain_ = Chain::Info;
    Done done_ = nullptr;
    void* owner_ = nullptr;
    int imageSize_ = 0;
    cmcEeprom* image_ = nullptr;
    BeforeWrite beforeWrite_ = nullptr;
};
