#pragma once

#include <memory>
#include <string>
#include <vector>

class QString;

class TForm1;
class cuiInstanceChannel;
class cuiTermination;
class cmcEvMan;
class cuiGuiHost;
class indEnviron;
class indMain;

// The desktop program's global objects in their order: the settings with the single-instance
// lock, the event manager, the main controller with its session and dictionary, and the main
// window. They go in the reverse order, the settings written last. main() runs one; the journey
// tests start the very same program.
class cuiProgram {
public:
    // arguments: the command line, program path first. host: installed by the caller.
    cuiProgram(cuiGuiHost& host, std::vector<std::string> arguments);
    ~cuiProgram();
    cuiProgram(const cuiProgram&) = delete;
    cuiProgram& operator=(const cuiProgram&) = delete;

    // The names the application goes by (its settings and data folders follow them).
    static void NameApplication();

    // Builds everything and shows the window, offers an earlier run's unsaved changes back and
    // opens the file named on the command line. False when another copy runs: this one hands
    // it its file (or just has its window raised) and ends, having changed nothing itself.
    bool Start();
    // After a false Start: the running copy did not take the file it was to be handed (the
    // technician was told); the program ends with a failure.
    bool HandFailed() const { return handFailed_; }

    TForm1* Form() const { return form_.get(); }
    indMain* Controller() const { return controller_.get(); }

private:
    void TellNotHanded(const QString& path);

    cuiGuiHost& host_;
    std::vector<std::string> arguments_;
    std::unique_ptr<indEnviron> environ_;
    std::unique_ptr<cmcEvMan> events_;
    std::unique_ptr<indMain> controller_;
    std::unique_ptr<TForm1> form_;
    std::unique_ptr<cuiInstanceChannel> channel_;
    std::unique_ptr<cuiTermination> termination_;
    bool handFailed_ = false;
};
