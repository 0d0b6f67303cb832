#include "platform/cmcSerialBackend.h"

int cmcWriteTimeoutMs(int baudRate, int bytes) {
    const int perByte = baudRate > 0 ? 100000 / baudRate : 0;
    return perByte * bytes + 3000;
}
