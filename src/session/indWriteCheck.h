#pragma once

#include <string>
#include <vector>

class cmcEeprom;
struct dst_CDrv_Result;

// The read back after a clone write: whether the radio holds, byte for byte in the clone range,
// what was sent to it. One judgement for every write that is verified (the session's checked
// write and each radio of a fleet run).
struct indWriteCheck {
    enum class Outcome { NotRun, Matched, Differs, ReadFailed };
    Outcome outcome = Outcome::NotRun;
    int readStatus = 0;              // the read back's clone status
    int differingBytes = 0;          // in the clone range, bytes the radio keeps not counted
    int firstDifference = -1;        // the address of the first of them
    bool identityKept = false;       // the radio kept the own identity (MMSI) it had
    std::vector<std::string> cells;  // the first cells that differ (the views' comparison)
    int cellCount = -1;              // all cells that differ; -1: no sheets to ask

    // Judges the read back (result) against written, the image as it was sent (normalised for
    // writing). before: what the radio held before the write, as read (empty when it was not
    // read). A radio that has an own identity keeps it whatever is written (as before showed,
    // when it was read): by design, not a fault of the write, so those bytes are not counted and
    // identityKept says so. expected (may be null) gets what the radio should hold with that
    // taken into account.
    static indWriteCheck Judge(const dst_CDrv_Result& result, const cmcEeprom& written,
                               const cmcEeprom& before, cmcEeprom* expected = nullptr);

    // The clone range's bytes that differ between a and b (all of them when either is shorter),
    // and the address of the first (-1 for none) when first is not null.
    static int DifferingBytes(const cmcEeprom& a, const cmcEeprom& b, int* first = nullptr);
};
