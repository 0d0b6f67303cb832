// The recovery test's child: a session that opens a clone file, edits it through the cells,
// lets its recovery file be written, says "ready" and then waits to be killed.
//
//   pq-recovery-child RESOURCE_DIR RECOVERY_DIR FILE
//
// Exit statuses: 2 usage, 3 the recovery directory could not be claimed, 4 the file could not
// be opened, 5 the recovery file was not written.
#include <QCoreApplication>

#include <cstdio>
#include <string>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "platform/cmcClock.h"
#include "session/indSession.h"

namespace {

void Evaluate(indSession& session, cmcCellCapsule capsule, int category, int label, int argument) {
    static int grid = 0;
    cmcCellObj cell;
    cell.category = category;
    cell.label = label;
    cell.argument = argument;
    capsule.cell = &cell;
    capsule.grid = &grid;
    const cuiMainCore core = session.Core();
    indActiveCell(core).Evaluate(capsule, true);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: pq-recovery-child RESOURCE_DIR RECOVERY_DIR FILE\n");
        return 2;
    }
    // Virtual time: the delayed write is made due without waiting for it.
    cmcClock::SetManual(1000);
    indSession session;
    session.SetResourceDir(argv[1]);
    session.LoadTemplate();
    if (!session.EnableRecovery(argv[2]))
        return 3;
    if (session.OpenFile(argv[3]) != 0)
        return 4;

    // User channel 5: receive frequency typed, mode chosen from its list, comment typed.
    cmcCellCapsule typed;
    typed.inputKind = kInputText;
    typed.inputText = "7123.4";
    Evaluate(session, typed, CT_UserCh, CL_UCh_FreqR, 5);
    cmcCellObj chosen;
    chosen.label = CL_Sel_Mode_U;
    chosen.argument = 4;
    cmcCellCapsule entry;
    entry.cell = &chosen;
    cmcCellCapsule choice;
    choice.parent = &entry;
    choice.inputKind = kInputChoice;
    Evaluate(session, choice, CT_UserCh, CL_UCh_Mode, 5);
    typed.inputText = "KILLED";
    Evaluate(session, typed, CT_UserCh, CL_UCh_Comment, 5);

    cmcClock::Advance(indSession::kRecoveryDelayMs);
    if (!session.RunDueRecoveryWrite())
        return 5;
    std::printf("ready\n");
    std::fflush(stdout);
    // Until killed: the test ends this process without letting it clean up.
    while (std::getchar() != EOF) {
    }
    return 0;
}
