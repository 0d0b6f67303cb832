#include "profile/indCloneChecks.h"

#include <cstring>

#include "clone/dst_CDrv_Result.h"
#include "profile/ModelProfile.h"

namespace indCloneChecks {

void Identify(dst_CDrv_Result& r, int modelCode, int extraCode, indRadioIdentity* identity) {
    if (r.operation != dst_CDrv_Result::kInfo || r.status != dst_CDrv_Result::kOk)
        return;
    const int n = r.infoBytes.GetLength();
    if (r.modelCode != modelCode || r.extraCode != extraCode || n <= 23 ||
        r.infoBytes.Data()[0] != n) {
        r.status = dst_CDrv_Result::kWrongModel;
        return;
    }
    if (identity) {
        identity->modelCode = r.modelCode;
        identity->extraCode = r.extraCode;
        std::memcpy(identity->info, r.infoBytes.Data(), sizeof identity->info);
        identity->valid = true;
    }
    if (r.infoBytes.Data()[2] != ModelProfile::kMapRevision)
        r.status = dst_CDrv_Result::kMapRevision;
    else if (r.infoBytes.Data()[23] != 0)
        r.status = dst_CDrv_Result::kWrongModel;
}

void AfterRead(dst_CDrv_Result& r) {
    if (r.operation != dst_CDrv_Result::kRead || r.status != dst_CDrv_Result::kOk)
        return;
    if (ModelProfile::CheckImage(r.image, true) != 0)
        r.status = dst_CDrv_Result::kModelCheck;
    else if (ModelProfile::CheckImageContents(r.image) != 0)
        r.status = dst_CDrv_Result::kNewerVersion;
}

}  // namespace indCloneChecks
