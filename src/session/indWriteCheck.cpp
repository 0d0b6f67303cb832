#include "session/indWriteCheck.h"

#include <cstring>

#include "clone/dst_CDrv_Result.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"

namespace MM = MemoryMap;
using R = dst_CDrv_Result;

namespace {

bool HasOwnIdentity(const cmcEeprom& image) {
    // A first byte of 100 or more means no identity.
    return image.GetSize() > MM::kOwnIdentity + MM::kOwnIdentityBlockLength &&
           image.Bytes()[MM::kOwnIdentity] < 100;
}

bool SameOwnIdentity(const cmcEeprom& a, const cmcEeprom& b) {
    return std::memcmp(a.Bytes() + MM::kOwnIdentity, b.Bytes() + MM::kOwnIdentity,
                       MM::kOwnIdentityBlockLength) == 0;
}

}  // namespace

int indWriteCheck::DifferingBytes(const cmcEeprom& a, const cmcEeprom& b, int* first) {
    int count = 0;
    if (first != nullptr)
        *first = -1;
    if (a.GetSize() <= MM::kCloneLast || b.GetSize() <= MM::kCloneLast)
        return MM::kCloneLength;
    for (int i = MM::kCloneFirst; i <= MM::kCloneLast; ++i) {
        if (a.Bytes()[i] == b.Bytes()[i])
            continue;
        if (count++ == 0 && first != nullptr)
            *first = i;
    }
    return count;
}

indWriteCheck indWriteCheck::Judge(const R& result, const cmcEeprom& written,
                                   const cmcEeprom& before, cmcEeprom* expected) {
    indWriteCheck check;
    check.readStatus = result.status;
    if (result.operation != R::kRead || result.status != R::kOk) {
        check.outcome = Outcome::ReadFailed;
        return check;
    }
    const cmcEeprom& back = result.image;
    cmcEeprom own;
    cmcEeprom& shall = expected != nullptr ? *expected : own;
    shall.CopyFrom(written);
    if (HasOwnIdentity(back) && shall.GetSize() > MM::kCloneLast && !SameOwnIdentity(back, shall) &&
        (before.GetSize() == 0 || SameOwnIdentity(back, before))) {
        check.identityKept = true;
        shall.WriteBlock(MM::kOwnIdentity, back.Bytes() + MM::kOwnIdentity,
                         MM::kOwnIdentityBlockLength);
    }
    check.differingBytes = DifferingBytes(shall, back, &check.firstDifference);
    check.outcome = check.differingBytes == 0 ? Outcome::Matched : Outcome::Differs;
    return check;
}
