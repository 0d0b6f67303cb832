#include "cli/cliSheets.h"

#include <QCommandLineParser>

#include "cli/cliSession.h"
#include "ui/table/cuiSheetTable.h"

void cliAddSheetOption(QCommandLineParser& parser) {
    parser.addOption({"sheet",
                      "The sheet: its reference in the tree (GI_Sheet_UserCh, "
                      "[St_Common]GI_Sheet_Common) or its caption (\"User channels\").",
                      "REF"});
}

bool cliTakeSheet(cliSession& session, const QCommandLineParser& parser, cuiTreeSheet* sheet) {
    const std::vector<cuiTreeSheet> sheets = cuiTreeSheets(session.core.Dictionary());
    std::string list;
    for (const cuiTreeSheet& s : sheets)
        list += "\n  " + s.reference + "  (" + s.caption + ")";
    if (!parser.isSet("sheet") || parser.value("sheet").isEmpty()) {
        session.Report("--sheet REF is required; the sheets are:" + list);
        return false;
    }
    const std::string name = parser.value("sheet").toLocal8Bit().toStdString();
    const cuiTreeSheet* found = cuiFindTreeSheet(sheets, name);
    if (!found) {
        session.Report("no sheet '" + name + "'; the sheets are:" + list);
        return false;
    }
    *sheet = *found;
    return true;
}
