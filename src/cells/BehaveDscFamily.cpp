// Entry of the DSC family: DSC common settings, identities, receive/transmit pairs, item tables
// and the DSC table checks. Its files register their labels from here.
#include "cells/BehaveDsc.h"
#include "cells/indBehave.h"

void indRegisterDscBehaviours(indBehaveTable& table) {
    indRegisterDscSettingBehaviours(table);
    indRegisterDscBookBehaviours(table);
    indRegisterDscItemBehaviours(table);
    indRegisterDscCheckBehaviours(table);
}
