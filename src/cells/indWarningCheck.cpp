#include "cells/indWarningCheck.h"

#include "memory/ModelProfile.h"

indWarningCheck indWarningCheck::Run(cmcGTex& dictionary) {
    ModelProfile::WarningLists lists = ModelProfile::RunWarningCheck(dictionary);
    indWarningCheck result;
    result.errorSheets = std::move(lists.errors);
    result.noticeSheets = std::move(lists.notices);
    return result;
}
