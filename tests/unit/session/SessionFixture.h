#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "CloneFileSupport.h"
#include "TestPaths.h"
#include "cmcTestHost.h"
#include "cuiRecordingViews.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"

// A session over the product's resource file and initial clone file, its views recorded, its
// questions and file dialogs answered by the test host, and a scratch directory.
class SessionFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session.SetViews(&views);
        session.SetResourceDir(ResourcePath(""));
        session.LoadTemplate();
        session.SetLastDirectory(dir.path().toStdString());
        host->Clear();
    }

    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // A clone file of the default image with its comment set.
    std::string MakeFile(const std::string& name, const std::string& comment) {
        cmcEeprom image;
        image.CopyFrom(session.TemplateImage());
        SetImageComment(image, comment);
        return SaveImageFile(Path(name), image);
    }
    // An edit as a behaviour makes it: the image changes, then the session is told.
    void Edit(const std::string& comment = "EDITED") {
        SetImageComment(session.WorkingImage(), comment);
        session.CheckModified();
    }
    std::string WorkingComment() { return cmcCloneFile::ImageComment(session.WorkingImage()); }
    // The comment line a clone file holds.
    static std::string FileComment(const std::string& path) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly))
            return "<unreadable>";
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.startsWith("#Comment="))
                return line.mid(9).toStdString();
        }
        return "<none>";
    }
    int Questions() {
        int n = 0;
        for (const cmcTestHost::Message& m : host->Messages())
            n += m.buttons != HostButtons::Ok;
        return n;
    }
    std::string Title(const std::string& name) const { return name + " - PQ-T590"; }

    ScopedTestHost host;
    cuiRecordingViews views;
    indSession session;
    QTemporaryDir dir;
};
