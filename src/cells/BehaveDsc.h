#pragma once

class indBehaveTable;

// The DSC family of cell behaviours, split by concern over several files; the family's
// registration function (indRegisterDscBehaviours) calls these.

// Own identity, DSC mask, ITU channel selection, scan on/off (BehaveDscSettings.cpp).
void indRegisterDscSettingBehaviours(indBehaveTable& table);
// Address book identities and receive/transmit pairs (BehaveDscBook.cpp).
void indRegisterDscBookBehaviours(indBehaveTable& table);
// Item enable tables: nature, call selection, categories, telecommands, reasons
// (BehaveDscItems.cpp).
void indRegisterDscItemBehaviours(indBehaveTable& table);
// The DSC table checks (BehaveDscChecks.cpp).
void indRegisterDscCheckBehaviours(indBehaveTable& table);
