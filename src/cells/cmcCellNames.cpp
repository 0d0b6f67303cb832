#include "cells/cmcCellNames.h"

#include <string>

#include "platform/cmcHost.h"
#include "text/cmcHash.h"

namespace {

struct CategoryInfo {
    const char* name;
    int recordKind;
};

const CategoryInfo kCategories[] = {
#define PQ_CATEGORY_INFO(name, number, kind) {#name, kind},
    PQ_CELL_CATEGORIES(PQ_CATEGORY_INFO)
#undef PQ_CATEGORY_INFO
};

const char* const kLabels[] = {
#define PQ_LABEL_NAME(name, number) #name,
    PQ_CELL_LABELS(PQ_LABEL_NAME)
#undef PQ_LABEL_NAME
};

constexpr int kCategoryCount = static_cast<int>(sizeof(kCategories) / sizeof(kCategories[0]));
constexpr int kLabelCount = static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0]));
static_assert(kCategoryCount == CT_None, "categories are numbered 0..18 without gaps");
static_assert(kLabelCount == CL_None, "labels are numbered 0..204 without gaps");

// Categories and labels share one table. A category's entry is tagged so that a label name is
// never taken for a category or the other way round, whichever list was entered first.
constexpr int kCategoryTag = 0x10000;

struct NameTable {
    cmcHash names{cmcHash::kDefaultBuckets};
    bool categoriesEntered = false;
    bool labelsEntered = false;
};

NameTable& Table() {
    static NameTable table;
    return table;
}

}  // namespace

int CategoryByName(std::string_view name) {
    if (name.empty())
        return CT_None;
    NameTable& t = Table();
    if (!t.categoriesEntered) {
        t.categoriesEntered = true;
        for (int i = 0; i < kCategoryCount; ++i)
            t.names.Add(kCategories[i].name, kCategoryTag + i);
    }
    const cmcHashEntry* e = t.names.Find(name);
    if (!e || e->value < kCategoryTag) {
        std::string text = "Cannot use the specified category.\n'";
        text.append(name.data(), name.size());
        text += "'";
        FatalError(text);
    }
    return e->value - kCategoryTag;
}

int LabelByName(std::string_view name) {
    if (name.empty())
        return CL_None;
    NameTable& t = Table();
    if (!t.labelsEntered) {
        t.labelsEntered = true;
        for (int i = 0; i < kLabelCount; ++i)
            t.names.Add(kLabels[i], i);
    }
    const cmcHashEntry* e = t.names.Find(name);
    if (!e || e->value >= kCategoryTag) {
        std::string text = "Cannot use the specified cell.\n'";
        text.append(name.data(), name.size());
        text += "'";
        FatalError(text);
    }
    return e->value;
}

int RecordKindOf(int category) {
    if (category < 0 || category > CT_None)
        FatalError("Unknown Cell Category. (" + std::to_string(category) + ")");
    return category == CT_None ? 0 : kCategories[category].recordKind;
}

const char* CategoryName(int category) {
    return category >= 0 && category < kCategoryCount ? kCategories[category].name : nullptr;
}

const char* LabelName(int label) {
    return label >= 0 && label < kLabelCount ? kLabels[label] : nullptr;
}
