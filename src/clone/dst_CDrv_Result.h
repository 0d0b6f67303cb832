#pragma once

#include <cstdint>
#include <string>

#include "clone/cmcBuff.h"
#include "memory/cmcEeprom.h"

// The result of one clone operation, handed to the completion handler when it ends.
struct dst_CDrv_Result {
    // Operations.
    static constexpr std::uint8_t kInfo = 1;
    static constexpr std::uint8_t kRead = 2;
    static constexpr std::uint8_t kWrite = 3;

    // Statuses; the driver sets 0, 2, 4-10 and 17, the manager and the commands the others.
    enum Status : std::uint8_t {
        kOk = 0,
        kPortFailed = 2,
        kEchoError = 4,
        kTimeout = 5,
        kFrameError = 6,
        kFrameCount = 7,
        kMissing = 8,
        kOutOfRange = 9,
        kWriteRefused = 10,
        kWrongModel = 11,
        kMapRevision = 14,
        kModelCheck = 15,
        kNewerVersion = 16,
        kWriteFailed = 17,
    };

    std::uint8_t operation = 0;
    std::uint8_t status = kPortFailed;
    std::int32_t modelCode = 0;
    std::int32_t extraCode = 0;
    cmcBuff infoBytes;
    cmcEeprom image;
    // One bit per address a read received: bit a mod 8 of byte a div 8.
    cmcBuff loadedMap;
    // Why the port could not be opened (status 2), in the system's words.
    std::string portError;
    // The group that owns the device when the user was refused it (status 2): joining it helps.
    std::string portGroup;
};
