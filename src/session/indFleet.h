#pragma once

#include <string>
#include <vector>

struct cuiMainCore;

// The shared parts of a fleet run: one clone file written to many radios, one after another or
// on several ports at once, each radio keeping its own identity, with per-radio values and an
// append-only journal of every attempt.

// How one attempt ended beyond the clone statuses (0-17) of the transfers themselves.
namespace indFleetStatus {
constexpr int kValueRefused = 100;   // a per-radio value was refused by its cell
constexpr int kDataErrors = 101;     // the radio's copy does not pass the warning check
constexpr int kBackupFailed = 102;   // the backup of the radio could not be saved
constexpr int kVerifyDiffers = 103;  // the radio does not hold what was written
constexpr int kNotStarted = 104;     // the transfer could not be started
constexpr int kStopped = 105;        // the user stopped the run before this radio was written
}  // namespace indFleetStatus

// What the radio on a port holds of its own, and what one attempt did to it.
struct indFleetEntry {
    int station = 0;        // which port of the run (from 0)
    std::string timeUtc;    // when the attempt ended, ISO 8601
    std::string clockTime;  // the same in local time, hh:mm:ss, for the window
    int portNumber = 0;     // COM number (0 with a device path)
    std::string device;     // the device the port stands for
    std::string model;      // model and extra code of the info reply, "2429/0001"
    int mapRevision = -1;   // from the info reply; -1 when the radio did not answer
    std::string commentBefore;
    std::string commentAfter;
    std::string mmsiBefore;  // nine digits, or empty for none
    std::string mmsiAfter;
    int row = -1;            // the per-radio table's row used (its file line), -1 none
    std::string rowText;     // "line 3 (MMSI 123456789)", "line 4 (#)", or empty
    std::string cloneFile;   // the file name of the plan
    std::string sha256;      // of the clone range written; empty when nothing was sent
    std::string backupFile;  // empty when none was made
    // The preview of the write, made from the read that serves as the backup: how many cells
    // the write changes on this radio (-1: not known, the radio was not written) and the first
    // of them as the compare window lists them.
    int changedCells = -1;
    std::vector<std::string> changes;
    int status = 0;           // 0, a clone status, or an indFleetStatus code
    std::string statusText;   // the status's one-line text
    std::string message;      // what happened and what to do (empty on success)
    std::string verified;     // "yes", "no" or "not asked"
    bool written = false;     // the write was stored (the verify may still have failed)
    bool identified = false;  // the radio was read: its comment and MMSI are known
    bool skipped = false;     // met again and not written again: no attempt, no journal line

    bool Succeeded() const { return status == 0; }
    // "kept", "set" or "none": what became of the radio's own MMSI.
    std::string MmsiState() const;
    // The key by which a radio met again is known: its own MMSI, else its comment.
    std::string RadioKey() const;
};

// The per-radio values entered through the cells' own behaviours. The sheets that carry those
// behaviours live with the views, so the front end supplies this; the run itself stays free of
// them.
class indFleetValues {
public:
    virtual ~indFleetValues() = default;
    // Whether a column of the per-radio table ("SHEET_REF:ROW:COLUMN") names one cell that takes
    // input; false with why (UTF-8) otherwise.
    virtual bool Knows(const cuiMainCore& core, const std::string& column, std::string& why) = 0;
    // Enters text into that cell on core's working image as a user's input would be; false with
    // why when the cell refuses it or would show another text (the image is then unchanged).
    virtual bool Enter(const cuiMainCore& core, const std::string& column, const std::string& text,
                       std::string& why) = 0;
};

// What the front end hears of a run, and the one question it answers.
class indFleetListener {
public:
    virtual ~indFleetListener() = default;
    // A station moved to another step (the window's and the tool's progress lines).
    virtual void StepChanged(int station) { (void)station; }
    // The station's transfer got further: another whole percent (indFleetRun::PercentOf).
    virtual void Progressed(int station) { (void)station; }
    // A probe of the port ended: status 0 when a radio of this model answered; comment: the
    // comment its information block reports.
    virtual void ProbeEnded(int station, int status, const std::string& comment) {
        (void)station;
        (void)status;
        (void)comment;
    }
    // The radio on a station was read: entry holds what it held and the row it takes.
    virtual void RadioRead(const indFleetEntry& entry) { (void)entry; }
    // The radio's copy was made and checked, and the read previewed its write (entry's
    // changedCells and changes); the write comes next.
    virtual void RadioPreviewed(const indFleetEntry& entry) { (void)entry; }
    // The radio was written earlier in this run (earlier: that attempt): write it again?
    virtual bool WriteAgain(const indFleetEntry& radio, const indFleetEntry& earlier) {
        (void)radio;
        (void)earlier;
        return false;
    }
    // An attempt ended and its journal line was written (or the journal failed: the run then
    // refuses to start another radio).
    virtual void RadioDone(const indFleetEntry& entry) { (void)entry; }
};

// Nine digits of an own identity, or empty when the radio has none.
class cmcEeprom;
std::string indFleetOwnMmsi(const cmcEeprom& image);
// The radio's comment as the clone file keeps it (trailing blanks dropped).
std::string indFleetComment(const cmcEeprom& image);
