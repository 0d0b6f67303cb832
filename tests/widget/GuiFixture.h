#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QWidget>

#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

// The views as the program builds them: the product's resource file as the main dictionary, the
// recording controller with the default radio image, an event manager whose posted events a test
// delivers with RunPass, and the test host answering every question. DejaVu is the font, so that
// what is drawn does not depend on the machine.
class GuiFixture : public ::testing::Test {
protected:
    GuiFixture() {
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        dict_.SetFile(ResourcePath("PQT590.OVL"));
        main_->SetDictionary(&dict_);
        main_->SetSectionCache(&cache_);
        EXPECT_EQ(ReadDefaultImage(main_->WorkingImage()), 0);
        main_->MarkSaved();
    }

    // The initial clone file, read as the program reads its template.
    static int ReadDefaultImage(cmcEeprom& image) {
        cmcCloneFile file;
        file.AttachImage(image);
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevisionCheck(
            [](void*, int revision) { return revision == MemoryMap::kMapRevisionValue; }, nullptr);
        return file.Read(ResourcePath("PQT590_Default.t590"), kCloneRanges);
    }

    // A widget as it paints itself.
    static QImage Grab(QWidget& w) { return w.grab().toImage(); }

    // Keeps a picture of a view for a person to look at, when PQ_SHOT_DIR names a folder.
    static void Keep(QWidget& w, const std::string& name) {
        const QByteArray dir = qgetenv("PQ_SHOT_DIR");
        if (!dir.isEmpty())
            w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                          QString::fromStdString(name) + QStringLiteral(".png"));
    }

    ScopedTestHost host_;
    cmcEvMan events_;
    cmcGTex dict_;
    ScopedMainDictionary mainDictionary_{&dict_};
    cmcFCache cache_;
    ScopedHeadlessMain main_;
};

// A dictionary of lines in memory, for the small bodies a test makes up; kept alive by the test.
class LineDictionary {
public:
    explicit LineDictionary(std::vector<std::string> lines) : lines_(std::move(lines)) {
        lines_.push_back("#End_Of_Ovl");
        for (const std::string& l : lines_)
            pointers_.push_back(l.c_str());
        dict_.SetLines(pointers_.data(), pointers_.size());
    }
    cmcGTex& operator*() { return dict_; }

private:
    std::vector<std::string> lines_;
    std::vector<const char*> pointers_;
    cmcGTex dict_;
};
