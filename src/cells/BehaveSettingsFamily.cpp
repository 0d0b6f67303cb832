// Entry of the settings family: common settings, mode selection and registration, clone
// information, menu and tool-bar commands, popup menu item states, the memory debug window and the
// free fields. Its files register their labels from here.
#include "cells/BehaveSettings.h"
#include "cells/indBehave.h"

void indRegisterSettingsBehaviours(indBehaveTable& table) {
    indRegisterCommonSettingBehaviours(table);
    indRegisterModeBehaviours(table);
    indRegisterCommandBehaviours(table);
    indRegisterToolBehaviours(table);
}
