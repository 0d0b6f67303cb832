// Entry of the DSC family: DSC common settings, identities, receive/transmit pairs, item tables
// and the DSC table checks. Its files register their labels from here.
#include "cells/indBehave.h"

void indRegisterDscBehaviours(indBehaveTable&) {}
