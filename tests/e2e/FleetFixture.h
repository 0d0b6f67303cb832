#pragma once

#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <memory>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "SimProcess.h"
#include "memory/MemoryMap.h"
#include "session/indFleet.h"
#include "session/indFleetJournal.h"
#include "text/cmcCsv.h"

// pqt590-cli running while the test talks to it: stdin written line by line, stderr watched.
class CliLive {
public:
    explicit CliLive(const QStringList& args) {
        process_.setProgram(QString::fromStdString(CliPath()));
        process_.setArguments(args);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        process_.waitForStarted(5000);
    }
    ~CliLive() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    bool Running() const { return process_.state() == QProcess::Running; }
    void Type(const std::string& line) {
        process_.write((line + "\n").c_str());
        process_.waitForBytesWritten(5000);
    }
    const std::string& Err() {
        err_ += process_.readAllStandardError().toStdString();
        return err_;
    }
    // Waits until stderr holds text count times (the tool reports as it goes).
    bool WaitFor(const std::string& text, int count = 1, int limitMs = 120000) {
        QElapsedTimer timer;
        timer.start();
        while (Occurrences(Err(), text) < count) {
            if (timer.elapsed() > limitMs || !Running())
                return Occurrences(Err(), text) >= count;
            process_.waitForReadyRead(100);
        }
        return true;
    }
    // Waits for the end; the exit code, or -1 when it did not end or crashed.
    int Finish(int limitMs = 120000) {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(limitMs))
            return -1;
        Err();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    // Ctrl+C from the terminal.
    void Interrupt() { ::kill(static_cast<pid_t>(process_.processId()), SIGINT); }
    void Kill() {
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }

    static int Occurrences(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

private:
    QProcess process_;
    std::string err_;
};

// Radios for t590-sim --fleet made from the default image through the project's own file code,
// and the journal read back.
class FleetFixture : public CliFixture {
protected:
    // A radio with a comment and an own MMSI ("" for none), saved as dir/name.
    std::string Radio(const std::string& dir, const std::string& name, const std::string& comment,
                      const std::string& mmsi) {
        cmcEeprom image;
        DefaultImage(image, comment);
        SetImageMmsi(image, mmsi);
        QDir().mkpath(QString::fromStdString(Path(dir)));
        return Save(image, dir + "/" + name);
    }
    static std::string CommentOf(const cmcEeprom& image) {
        std::string s(reinterpret_cast<const char*>(image.Bytes() + MemoryMap::kComment),
                      MemoryMap::kCommentLength);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }

    // The journal's lines after its header, each checked to be whole.
    std::vector<std::vector<std::string>> Journal(const std::string& path) {
        std::vector<std::vector<std::string>> lines;
        const std::string text = ReadWholeFile(path);
        EXPECT_TRUE(text.empty() || text.size() < 2 ||
                    text.compare(text.size() - 2, 2, "\r\n") == 0)
            << "the journal ends inside a line";
        const std::vector<cmcCsv::Record> records = cmcCsv::Parse(text);
        if (records.empty()) {
            ADD_FAILURE() << "no journal header";
            return lines;
        }
        const size_t width = indFleetJournal::Header().size();
        EXPECT_EQ(records[0].fields.size(), width);
        for (size_t i = 1; i < records.size(); ++i) {
            std::vector<std::string> fields;
            for (const cmcCsv::Field& f : records[i].fields)
                fields.push_back(f.text);
            EXPECT_EQ(fields.size(), width) << "line " << records[i].line << " is not whole";
            lines.push_back(fields);
        }
        return lines;
    }
    // Journal columns.
    enum {
        kTime = 0,
        kPort,
        kDevice,
        kModel,
        kMapRevision,
        kCommentBefore,
        kCommentAfter,
        kMmsiBefore,
        kMmsiAfter,
        kRow,
        kCloneFile,
        kSha,
        kBackup,
        kStatus,
        kStatusText,
        kVerified
    };
};
