#pragma once

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "cells/cuiHeadlessMain.h"
#include "clone/cmcPortArgument.h"
#include "clone/dst_CDrv_Result.h"
#include "clone/indCloneCommands.h"
#include "clone/indCloneMan.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcConsoleHost.h"
#include "platform/cmcTextProgress.h"
#include "text/cmcFCache.h"
#include "text/cmcGTex.h"

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

// Everything one run of a subcommand uses: the options, the text dictionary from the resource
// directory, the headless main controller with its working and template images, and the clone
// manager with the clone commands. Subcommands are functions over it (one file each).
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
    // Parses the arguments of one subcommand; on a usage error prints it and returns false with
    // *exitCode set; --help and --version print and return false with 0.
    bool Parse(QCommandLineParser& parser, const QStringList& arguments, int* exitCode);
    // Sets up the dictionary (from --resources or beside the executable), the modes and the
    // template image. False when the resource file cannot be read (reported; exit with
    // kExitFile).
    bool Start(const QCommandLineParser& parser, bool needTemplate);
    // Checks the positional arguments: none when file is null, else exactly one FILE, stored in
    // *file. False (reported) otherwise: a usage error.
    bool TakePositionals(const QCommandLineParser& parser, std::string* file) const;
    // Reads --port into the clone manager. False (reported) when missing or malformed.
    bool TakePort(const QCommandLineParser& parser);

    // Runs the event loop until the clone chain (when started) ends; returns the status of the
    // record that ended it, or kNotStarted when the step asked for (operation) never ran.
    static constexpr int kNotStarted = -1;
    int RunClone(bool started, int operation);
    // The result line of a failed clone chain; returns kExitClone.
    int CloneFailed(int status) const;
    static void OnCloneDone(void* self, dst_CDrv_Result& result);

    // The working image := image.
    void SetWorking(const cmcEeprom& image);
    // Opens a clone file as the open command does: every file check and the model check; on
    // success the image becomes the working image and is normalised as loaded. Returns the
    // file result (0 success; the message has been shown).
    int OpenFile(const std::string& path);

    // One sheet of the tree with its marks after the warning check.
    struct SheetMark {
        std::string caption;
        std::string reference;
        bool errors = false;
        bool notices = false;
    };
    // Runs the warning check on the working image; returns the number of checks that found
    // errors, and fills marks (when given) with every sheet of the tree, in tree order.
    int WarningCheck(std::vector<SheetMark>* marks);
    // Prints (stdout) what the clone information sheet shows for the last identification.
    void PrintCloneInfo();

    // The model's image-loaded and before-writing normalisations, on the working image.
    void ImageLoaded(cmcEeprom& image);
    void NormalizeForWriting(cmcEeprom& image);

    // One line for scripts on stderr: "pqt590-cli: <command>: <text>".
    void Report(const std::string& text) const;
    // The text of a dictionary key as a message on stderr (through the host).
    void ShowMessage(const char* key, HostIcon icon);

    std::string command;
    cmcGTex dictionary;
    cuiHeadlessMain controller;
    cmcFCache sectionCache{&dictionary};
    // The headless controller's working and template images, which the behaviours read.
    cmcEeprom& working;
    cmcEeprom& templateImage;
    indCloneMan manager;
    indCloneCommands clone{manager};
    std::string resourceDir;  // with its trailing separator

    // The record that ended the last clone chain (its image only for a successful read).
    dst_CDrv_Result last;
    bool cloneEnded = false;

private:
    cliHost host_;
    std::unique_ptr<cmcTextProgress> progress_;
    bool dictionaryInstalled_ = false;
};

// The subcommands; each returns the exit status.
int cliInfo(cliSession& session, const QStringList& arguments);
int cliRead(cliSession& session, const QStringList& arguments);
int cliWrite(cliSession& session, const QStringList& arguments);
int cliCheck(cliSession& session, const QStringList& arguments);

// The help's closing text: subcommands and exit statuses.
extern const char kCliHelpTail[];
