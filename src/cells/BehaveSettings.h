#pragma once

class indBehaveTable;

// The settings family of cell behaviours, split by concern over several files; the family's
// registration function (indRegisterSettingsBehaviours) calls these.

// Common settings: one byte of the image per label (BehaveCommon.cpp).
void indRegisterCommonSettingBehaviours(indBehaveTable& table);
// Mode selection entries and mode registration (BehaveMode.cpp).
void indRegisterModeBehaviours(indBehaveTable& table);
// Menu, tool-bar and tree commands and the popup menu item states (BehaveCommand.cpp).
void indRegisterCommandBehaviours(indBehaveTable& table);
// Memory debug window, free fields and clone information (BehaveTool.cpp).
void indRegisterToolBehaviours(indBehaveTable& table);
