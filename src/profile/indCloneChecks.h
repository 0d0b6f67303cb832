#pragma once

#include <cstdint>

struct dst_CDrv_Result;

// What the radio said about itself in its info reply, kept for the clone-information sheet.
struct indRadioIdentity {
    int modelCode = 0;
    int extraCode = 0;
    std::uint8_t info[24] = {};
    bool valid = false;
};

// The model's judgement of clone results, called by the clone manager before the caller's own
// completion callback. Both act only on a successful record of their own operation.
namespace indCloneChecks {

// Info: the reported codes must be this model's and the info block longer than 23 bytes with
// its count in byte 0 (else 11); then the identity is stored (when asked), and a map revision
// other than 7 gives 14, a non-zero byte 23 gives 11.
void Identify(dst_CDrv_Result& result, int modelCode, int extraCode, indRadioIdentity* identity);

// Read: the received image must pass the strict model check (else 15) and the contents check
// (else 16).
void AfterRead(dst_CDrv_Result& result);

}  // namespace indCloneChecks
