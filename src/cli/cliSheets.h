#pragma once

#include <string>

class QCommandLineParser;
class cliSession;
struct cuiTreeSheet;

// The --sheet option of the subcommands that work on one sheet: a reference as the tree names
// it ("GI_Sheet_UserCh", "[St_Common]GI_Sheet_Common") or the tree's caption ("User channels").
void cliAddSheetOption(QCommandLineParser& parser);
// The sheet the option names; false (reported, with the sheets there are) when it is missing or
// names none. The session must have been started (the dictionary is read).
bool cliTakeSheet(cliSession& session, const QCommandLineParser& parser, cuiTreeSheet* sheet);
