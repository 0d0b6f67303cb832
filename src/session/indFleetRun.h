#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cells/cuiViews.h"
#include "clone/cmcPortArgument.h"
#include "memory/cmcEeprom.h"
#include "session/indFleet.h"
#include "session/indFleetJournal.h"
#include "session/indFleetPlan.h"

class cmcProgress;
struct dst_CDrv_Result;
class indCloneMan;
class indSession;

// What a fleet run is asked to do.
struct indFleetOptions {
    // One station per port: a COM number, a device path, or both (the device the number stands
    // for, resolved by the front end from its settings).
    std::vector<cmcPortArgument> ports;
    bool backup = true;
    std::string backupDir;  // where the backups go (made when missing)
    bool verify = true;
    std::string journalPath;
    std::string radiosPath;  // the per-radio table; empty: none
    std::string cloneFile;   // the plan's file name, for the journal
};

// One clone file (the session's working image as it stands when the run begins: the plan)
// written to radio after radio. Each port is a station with a clone manager of its own (never
// the session's, whose transfers and document the run leaves alone); per radio it reads the
// radio (the backup), makes a copy of the plan with the radio's own identity and this radio's
// values, checks the copy, writes it, reads it back to verify it when asked, and journals the
// attempt. Stations run at the same time on the event loop; their journal lines are written one
// at a time as their radios finish. A journal that cannot be written stops the run: no station
// starts another radio.
class indFleetRun {
public:
    enum class Step { Idle, Probing, Reading, Writing, Verifying };

    // values: the front end's per-radio values (null: a run without a per-radio table);
    // listener: may be null. Neither is owned.
    indFleetRun(indSession& session, indFleetValues* values, indFleetListener* listener);
    ~indFleetRun();
    indFleetRun(const indFleetRun&) = delete;
    indFleetRun& operator=(const indFleetRun&) = delete;

    // Refuses a plan with data errors (the usual message is shown, and why is left empty);
    // otherwise reads the per-radio table and checks its columns, opens the journal and makes
    // the stations. False with why when any of it fails: nothing was sent to a radio.
    bool Begin(const indFleetOptions& options, std::string& why);

    int Stations() const { return static_cast<int>(stations_.size()); }
    const cmcPortArgument& Port(int station) const;
    // Starts the steps for the radio on the station's port. False when the station is busy,
    // the journal has failed, or the run has not begun.
    bool Start(int station);
    // Asks the radio on the station's port who it is (clone information), nothing more: how a
    // run that waits for the next radio sees one answer. The listener hears ProbeEnded.
    bool StartProbe(int station);
    bool Busy(int station) const;
    // The user's stop: a radio still being read is not written (its attempt ends as stopped);
    // a write under way is never cut, it ends with its verify as asked. Cleared by the next
    // Start once no station is busy.
    void RequestStop() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_; }
    bool AnyBusy() const;
    Step StepOf(int station) const;
    // How far the station's transfer under way is, 0-100 (where the last one stopped once the
    // station is idle); the listener hears Progressed at each new percent.
    int PercentOf(int station) const;
    // The station's manager (the bytes of the transfer under way).
    indCloneMan& Manager(int station);
    // Where a station's transfers show their progress as well (not owned; null: none).
    void SetProgress(int station, cmcProgress* progress);

    // The cells of a radio's preview that an entry keeps for the front ends to list.
    static constexpr int kPreviewLines = 20;

    // Every attempt so far, in the order the journal has them.
    const std::vector<indFleetEntry>& Entries() const { return entries_; }
    bool JournalFailed() const { return journalFailed_; }
    const std::string& JournalError() const { return journalError_; }
    const indFleetPlan& Plan() const { return plan_; }
    const indFleetOptions& Options() const { return options_; }
    // The attempt of a radio with this key that last succeeded; null when none did.
    const indFleetEntry* EarlierSuccess(const std::string& radioKey) const;
    // Radios whose last attempt failed, by key, in the order they were met.
    std::vector<const indFleetEntry*> FailedRadios() const;

    // The one-line text of an attempt's status: the clone status's head line, or the run's
    // own.
    static std::string StatusLine(int status);

private:
    class Meter;
    struct Station;
    static void OnProbe(void* station, dst_CDrv_Result& result);
    static void OnRead(void* station, dst_CDrv_Result& result);
    static void BeforeWrite(void* station, cmcEeprom& image);
    static void OnWritten(void* station, dst_CDrv_Result& result);
    static void OnVerified(void* station, dst_CDrv_Result& result);
    void AfterRead(Station& s);
    bool MakeCopy(Station& s);
    void Preview(Station& s);
    void PreparePort(Station& s);
    void Finish(Station& s, int status, const std::string& detail = std::string(),
                const std::string& reason = std::string());
    std::string NewBackupPath(const indFleetEntry& entry) const;
    std::vector<int> ReservedRows(const Station& except) const;

    indSession& session_;
    indFleetValues* values_;
    indFleetListener* listener_;
    indFleetOptions options_;
    indFleetPlan plan_;
    indFleetJournal journal_;
    cmcEeprom planImage_;
    cuiViews noViews_;
    std::vector<std::unique_ptr<Station>> stations_;
    std::vector<indFleetEntry> entries_;
    bool begun_ = false;
    bool journalFailed_ = false;
    bool stopRequested_ = false;
    std::string journalError_;
};
