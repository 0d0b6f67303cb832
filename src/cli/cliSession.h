#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "cells/cuiViews.h"
#include "clone/dst_CDrv_Result.h"
#include "platform/cmcConsoleHost.h"
#include "platform/cmcTextProgress.h"
#include "session/indSession.h"

class QCommandLineParser;

// Exit statuses of pqt590-cli, documented in its --help.
enum cliExit {
    kExitOk = 0,
    kExitUsage = 1,
    kExitFile = 2,
    kExitClone = 3,
    kExitDataErrors = 4,
};

// The console host of the tool: the product's messages go to stderr, after the progress bar's
// line has been ended so that the two never share a line.
class cliHost : public cmcConsoleHost {
public:
    HostAnswer MessageBox(const std::string& caption, const std::string& text, HostIcon icon,
                          HostButtons buttons) override;
    void SetProgress(cmcTextProgress* progress) { progress_ = progress; }

private:
    cmcTextProgress* progress_ = nullptr;
};

// What the commands show of the views: the clone information window is the information sheet's
// rows printed on stdout.
class cliViews : public cuiViews {
public:
    explicit cliViews(indSession& session) : session_(session) {}
    void ShowCloneInformation() override;
    // The sheets' own comparison, as the window and diff have it.
    std::vector<std::string> DifferingCells(const cmcEeprom& a, const cmcEeprom& b, int limit,
                                            int* count) override;

private:
    indSession& session_;
};

// Everything one run of a subcommand uses: the options, and the session (dictionary from the
// resource directory, images, clone manager and the file and clone commands) with the console
// host. Subcommands are functions over it (one file each) that parse, call the session's
// commands and print.
class cliSession {
public:
    cliSession();
    ~cliSession();
    cliSession(const cliSession&) = delete;
    cliSession& operator=(const cliSession&) = delete;

    // The options every subcommand takes, added to its parser.
    static void AddCommonOptions(QCommandLineParser& parser);
    // The --port option of the subcommands that talk to the radio.
    static void AddPortOption(QCommandLineParser& parser);
    // Parses the arguments of one subcommand and checks its positional arguments; on a usage
    // error prints it and returns false with *exitCode kExitUsage; --help and --version print
    // and return false with kExitOk. This one takes no positional argument.
    bool Parse(QCommandLineParser& parser, const QStringList& arguments, int* exitCode);
    // The same for a subcommand that takes exactly one FILE, stored in *file.
    bool Parse(QCommandLineParser& parser, const QStringList& arguments, std::string* file,
               int* exitCode);
    // The same for fewest..most positional arguments, stored in *positionals; wrongCount is the
    // usage error of any other number ("FILE and IN are required").
    struct Positionals {
        int fewest;
        int most;
        const char* wrongCount;
    };
    bool Parse(QCommandLineParser& parser, const QStringList& arguments, const Positionals& wanted,
               QStringList* positionals, int* exitCode);
    // Sets up the dictionary (from --resources or beside the executable), the modes and the
    // template image. False when the resource file cannot be read (reported; exit with
    // kExitFile).
    bool Start(const QCommandLineParser& parser, bool needTemplate);
    // Checks the positional arguments: none when file is null, else exactly one FILE, stored in
    // *file. False (reported) otherwise: a usage error.
    bool TakePositionals(const QCommandLineParser& parser, std::string* file) const;
    // Checks that -o was given with a value; false (reported, naming it as metaName) otherwise:
    // a usage error.
    bool HasOutput(const QCommandLineParser& parser, const char* metaName) const;
    // Opens a clone file into the session's document as File › Open does; false (the file
    // status reported) when it cannot be.
    bool OpenFile(const std::string& path);
    // Reads --port into the session. False (reported) when missing or malformed.
    bool TakePort(const QCommandLineParser& parser);

    // Runs the event loop until the clone chain (when started) ends; returns the status of the
    // record that ended it, or kNotStarted when the step asked for (operation) never ran.
    static constexpr int kNotStarted = -1;
    int RunClone(indSession::CloneStart start, int operation);
    // The result line of a failed clone chain; returns kExitClone.
    int CloneFailed(int status) const;

    // The number of sheets the last warning check found errors in.
    int ErrorSheets() const { return static_cast<int>(core.WarningResults().errors.size()); }

    // One line for scripts on stderr: "pqt590-cli: <command>: <text>".
    void Report(const std::string& text) const;

    std::string command;
    indSession core;

private:
    // The options alone, --help and --version answered.
    bool ParseOptions(QCommandLineParser& parser, const QStringList& arguments, int* exitCode);
    static bool UsageError(int* exitCode);
    static void OnCloneEnded(void* self, const dst_CDrv_Result& result);

    cliHost host_;
    cliViews views_{core};
    std::unique_ptr<cmcTextProgress> progress_;
    bool cloneEnded_ = false;
};

// The subcommands; each returns the exit status.
int cliInfo(cliSession& session, const QStringList& arguments);
int cliRead(cliSession& session, const QStringList& arguments);
int cliWrite(cliSession& session, const QStringList& arguments);
int cliCheck(cliSession& session, const QStringList& arguments);
int cliPrint(cliSession& session, const QStringList& arguments);
int cliExport(cliSession& session, const QStringList& arguments);
int cliImport(cliSession& session, const QStringList& arguments);
int cliDiff(cliSession& session, const QStringList& arguments);
int cliFind(cliSession& session, const QStringList& arguments);
int cliSort(cliSession& session, const QStringList& arguments);
int cliPort(cliSession& session, const QStringList& arguments);
int cliListSheets(cliSession& session, const QStringList& arguments);
int cliFleet(cliSession& session, const QStringList& arguments);

// The help's closing text: subcommands and exit statuses.
extern const char kCliHelpTail[];
