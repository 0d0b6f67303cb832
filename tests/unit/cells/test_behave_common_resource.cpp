// The settings and DSC cells of the product's own sheets, evaluated against the product's resource
// file and its initial clone file: every list they name exists, every default value is an entry of
// its list, and the default radio carries no error mark.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "ConvTestSupport.h"
#include "InitialImage.h"
#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"

namespace {

struct Reference {
    int category;
    int label;
    int argument;
    std::string argText;
    std::string source;
};

// The behaviour references of the settings and DSC families in the resource file that name a
// fixed argument (rows built from channel counters are left to the sheet tests).
std::vector<Reference> FamilyReferences() {
    std::ifstream in(ResourcePath("PQT590.OVL"), std::ios::binary);
    const std::regex ref(
        R"(%(?:(CT_\w+)\.)?(CL_(?:Comm|Dsc|ModeReg|Sel_Mode|CloneInfo|Free)\w*)(?:\[(\d+)\])?(?::([^)]*))?\))");
    std::vector<Reference> refs;
    std::string line;
    while (std::getline(in, line)) {
        for (std::sregex_iterator it(line.begin(), line.end(), ref), end; it != end; ++it) {
            const std::smatch& m = *it;
            Reference r;
            r.category = m[1].matched ? CategoryByName(m[1].str()) : CT_None;
            r.label = LabelByName(m[2].str());
            r.argument = m[3].matched ? std::stoi(m[3].str()) : 0;
            r.argText = m[4].str();
            r.source = m[0].str();
            refs.push_back(r);
        }
    }
    return refs;
}

class BehaveResource : public ::testing::Test {
protected:
    BehaveResource() {
        dict_.SetFile(ResourcePath("PQT590.OVL"));
        main_->SetDictionary(&dict_);
        main_->SetSectionCache(&cache_);
        readResult_ = ReadInitialImage(main_->WorkingImage());
    }

    ScopedTestHost host_;
    cmcGTex dict_;
    ScopedMainDictionary mainDictionary_{&dict_};
    cmcFCache cache_{&dict_};
    ScopedHeadlessMain main_;
    cmcEvMan events_;
    int readResult_ = -1;
};

TEST_F(BehaveResource, DefaultRadioShowsEveryValueWithoutErrors) {
    ASSERT_EQ(readResult_, 0);
    const std::vector<Reference> refs = FamilyReferences();
    ASSERT_GT(refs.size(), 60u);  // the common settings sheet alone has 43 cells
    for (const Reference& r : refs) {
        SCOPED_TRACE(r.source);
        cmcCellObj cell;
        cell.category = r.category;
        cell.label = r.label;
        cell.argument = r.argument;
        if (!r.argText.empty())
            cell.argText = r.argText;
        cmcCellCapsule c;
        c.cell = &cell;
        indActiveCell active(main_.Core());
        active.Evaluate(c, false);
        EXPECT_NE(c.outputText, "error");
        EXPECT_EQ(c.outputText.find("*Yet*"), std::string::npos);
        // The mode list marks the modes the radio does not offer; that is no error of the radio.
        if (r.label != CL_Sel_Mode_U) {
            EXPECT_EQ(c.markBits & kMarkError, 0);
        }
    }
    EXPECT_TRUE(host_->Messages().empty());
}

// Enter on every choice cell opens a list that exists in the resource file.
TEST_F(BehaveResource, EveryChoiceListOpens) {
    ASSERT_EQ(readResult_, 0);
    for (const Reference& r : FamilyReferences()) {
        SCOPED_TRACE(r.source);
        cmcCellObj cell;
        cell.category = r.category;
        cell.label = r.label;
        cell.argument = r.argument;
        cmcCellCapsule c = ConvTest::Key(kKeyEnter);
        c.cell = &cell;
        const size_t before = main_->ChoiceLists().size();
        indActiveCell active(main_.Core());
        active.Evaluate(c, false);
        if (main_->ChoiceLists().size() > before) {
            const std::string key = main_->ChoiceLists().back().listKey;
            EXPECT_NO_THROW(dict_.Text(key + "_Cells")) << key;
        }
    }
}

}  // namespace
