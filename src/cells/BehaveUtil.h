#pragma once

#include <cstdint>
#include <string>

#include "events/cmcEvent.h"

class cmcCellObj;
class cmcGTex;
struct indBehaveCall;

// Small helpers the behaviour families share.
namespace indBehaveUtil {

// Raises an event through the program's event manager; nothing happens without one (the
// command-line tool evaluates cells without views to tell).
void Post(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0);
void Send(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0);

// Sets or clears state bits of the cell (check mark, hidden, disabled, text replaced); the
// tool bar does not clear them before asking, so each behaviour sets its bits both ways.
void SetState(cmcCellObj* cell, uint8_t bits, bool on);

// Line n of a dictionary section of the program's dictionary.
std::string DictionaryLine(indBehaveCall& call, const char* key, int n);
std::string DictionaryText(indBehaveCall& call, const char* key);

// An ITU channel's name as the sheet shows it: its band, a dash and its place in the band
// ("8-9" for the last channel of the 8 MHz band).
std::string ItuChannelName(cmcGTex& dictionary, int entry);

// The band's own name ("8", "18/19") of an ITU channel.
std::string ItuBandName(cmcGTex& dictionary, int entry);

// "%d" of a number.
std::string Decimal(int value);

}  // namespace indBehaveUtil
