#pragma once

#include <string>

#include "clone/cmcCloneDrv.h"
#include "clone/dst_CDrv_Result.h"
#include "memory/cmcRange.h"

class cmcEeprom;
class cmcProgress;
class cmcTask;

// Called with the result record of an operation; the record lives only during the call.
using indCloneCallback = void (*)(void* owner, dst_CDrv_Result& result);

// Stands between the clone commands and the clone driver: prepares the driver for this radio's
// cable (9600,N,8,1, 12 preamble bytes before requests, echo check), starts operations, shows
// progress, keeps the main window disabled while one runs, lets the model's handlers judge the
// result, reports any failure in exactly one message box and then calls the caller back.
class indCloneMan {
public:
    static constexpr char kPortSettings[] = "9600,N,8,1";
    static constexpr int kRequestPreamble = 12;
    static constexpr int kDataPreamble = 0;
    static constexpr int kProgressCells = 32;
    static constexpr int kProgressMs = 30;

    indCloneMan();
    ~indCloneMan();
    indCloneMan(const indCloneMan&) = delete;
    indCloneMan& operator=(const indCloneMan&) = delete;

    void SetModel(int modelCode, int extraCode) { driver_.SetModel(modelCode, extraCode); }
    void SetImageSize(int n) { driver_.SetImageSize(n); }
    void SetInfoHandler(indCloneCallback handler, void* owner) {
        infoHandler_ = handler;
        infoOwner_ = owner;
    }
    void SetReadHandler(indCloneCallback handler, void* owner) {
        readHandler_ = handler;
        readOwner_ = owner;
    }
    // The COM port setting, read at every start; a device path (command-line tool, tests)
    // overrides it when not empty.
    void SetPort(int portNumber) { portNumber_ = portNumber; }
    void SetPortDevice(const std::string& device) { device_ = device; }
    int PortNumber() const { return portNumber_; }
    // While set, the operations read the radio before a write that has not begun (a backup or a
    // preview): a failure is reported as one that left the radio as it was ("nothing was
    // written"), never as a write that may have been cut short.
    void SetReadBeforeWrite(bool on) { readBeforeWrite_ = on; }
    bool ReadBeforeWrite() const { return readBeforeWrite_; }
    // Where progress goes (not owned); null shows none.
    void SetProgress(cmcProgress* progress) { progress_ = progress; }
    // Off: a failure shows no message box; the caller reports it in its own place (the fleet
    // run's list and journal, one line per radio).
    void SetReportFailures(bool on) { reportFailures_ = on; }

    bool IsBusy() const { return driver_.IsBusy(); }
    bool StartInfo(indCloneCallback completion, void* owner);
    bool StartRead(const cmcRange* ranges, indCloneCallback completion, void* owner);
    bool StartWrite(const cmcEeprom& image, const cmcRange* ranges, indCloneCallback completion,
                    void* owner);

    // Cells of 32 to fill for done of total bytes: 33 x done / total (0 for no total), at most
    // 32.
    static int ProgressCells(int done, int total);
    // The message for a status, from the dictionary's "GI_Mess_CloneErr_Head" and
    // "GI_Mess_CloneErr_Check"; empty for 0. Status 2 names the port (and the device with the
    // system's reason, when known); when the user was refused the device, what to run to join
    // the group that owns it ("GI_Mess_CloneErr_Group"). beforeWrite: the failure came before
    // anything was written (the status's line from "GI_Mess_CloneErr_ReadHead" where that has
    // one, and the line that nothing was written).
    static std::string StatusText(int status, int portNumber, const std::string& device,
                                  const std::string& reason,
                                  const std::string& group = std::string(),
                                  bool beforeWrite = false);

    cmcCloneDrv& Driver() { return driver_; }
    int TotalBytes() const { return totalBytes_; }

private:
    bool Begin(int operation, indCloneCallback completion, void* owner);
    void Prepare();
    void ShowProgress();
    void CloseProgress();
    void Report(const dst_CDrv_Result& result) const;
    static void OnDriverDone(void* owner, dst_CDrv_Result& result);
    static void OnProgressTick(void* context, cmcTask& task);

    cmcProgress* progress_ = nullptr;
    bool progressShown_ = false;
    bool reportFailures_ = true;
    bool windowLocked_ = false;
    bool readBeforeWrite_ = false;
    indCloneCallback infoHandler_ = nullptr;
    void* infoOwner_ = nullptr;
    indCloneCallback readHandler_ = nullptr;
    void* readOwner_ = nullptr;
    indCloneCallback completion_ = nullptr;
    void* completionOwner_ = nullptr;
    cmcCloneDrv driver_;
    int totalBytes_ = 0;
    int operation_ = 0;
    int portNumber_ = 1;
    std::string device_;
    cmcTask* progressTask_ = nullptr;
};
