// Settings and DSC cells with the arguments, keys and texts a damaged resource file or a careless
// view could hand them: nothing ends the program, and nothing outside the settings and DSC areas
// of the image changes.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "SettingsBehaveTest.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveHostile : public SettingsBehaveTest {};

TEST_F(BehaveHostile, WildArgumentsKeysAndTextsStayInside) {
    std::vector<int> labels;
    for (int l = CL_Free_Byte_Dec; l <= CL_Free_DscId; ++l)
        labels.push_back(l);
    for (int l = CL_EeDebugWin_Adr; l <= CL_EeDebugWin_F; ++l)
        labels.push_back(l);
    for (int l = CL_Comm_CloneComm; l <= CL_Comm_RfGain; ++l)
        labels.push_back(l);
    for (int l :
         {CL_Sel_Mode_U,         CL_ModeReg_Indication, CL_ModeReg_Use,      CL_CloneInfo_Model,
          CL_CloneInfo_Revision, CL_CloneInfo_Comment,  CL_Dsc_Mask,         CL_Dsc_SelfId,
          CL_Dsc_Comm_ItuCh,     CL_Dsc_ScanOn,         CL_Dsc_Id_Adr,       CL_Dsc_Id_Atr,
          CL_Dsc_Id_FreqR,       CL_Dsc_Id_FreqT,       CL_Dsc_Id_Comment,   CL_Dsc_RxTx_Use,
          CL_Dsc_RxTx_Rx,        CL_Dsc_RxTx_Tx,        CL_Dsc_RxTx_Comment, CL_Dsc_Nature_Val,
          CL_Dsc_CallSel_Val,    CL_Dsc_CallInh,        CL_Dsc_Cate_All,     CL_Dsc_Cate_Pos,
          CL_Dsc_1stTel_1st,     CL_Dsc_Reason_Val})
        labels.push_back(l);
    const int categories[] = {CT_Null, CT_None, CT_DscId, CT_DscRxTx, CT_DscCate, CT_ModeReg};
    const int arguments[] = {INT_MIN, -1, 0, 7, 99, 100, 4095, 1 << 20, INT_MAX};
    const int keys[] = {0, 8, 13, 32, '0', '5', '.', 'x', '=', 126, 127, 256, kKeyF3, kKeyF4};
    const char* texts[] = {"", "-", "999999999999999999999", "12:00", "ab\x01\xFF", "0"};

    // Everything the settings and DSC cells may write lies inside the clone range or the pair
    // use values; the debug window and free fields address the whole image, so they write only
    // when their address is inside it and are left out of this comparison.
    const std::vector<uint8_t> before(image_, image_ + MM::kImageSize);
    for (int label : labels) {
        const bool addressesWholeImage = label >= CL_EeDebugWin_Adr && label <= CL_Free_DscId;
        for (int category : categories) {
            for (int argument : arguments) {
                if (addressesWholeImage && argument >= 0 && argument < MM::kImageSize)
                    continue;
                for (int key : keys) {
                    Run(Key(key), category, label, argument);
                }
                for (const char* text : texts) {
                    Run(Typed(text), category, label, argument);
                }
            }
        }
    }
    EXPECT_TRUE(host_->Messages().empty());
    for (int a = 0; a < MM::kImageSize; ++a) {
        const bool owned = (a >= MM::kCloneFirst && a <= MM::kCloneLast) ||
                           (a >= MM::kDscPairUse && a <= MM::kDscPairUseLast);
        if (!owned) {
            ASSERT_EQ(image_[a], before[size_t(a)]) << "address " << a;
        }
    }
}

}  // namespace
