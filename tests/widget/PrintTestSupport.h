#pragma once

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <vector>

#include "text/cmcGTex.h"
#include "ui/print/cuiPrintTarget.h"

// Pages printed into images, one per page, at a chosen resolution: what a printer of that
// resolution would get, as pixels a test can look at. It counts how the engine used it.
class ImagePages : public cuiPrintTarget {
public:
    ImagePages(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi) {
        SetDpi(measure_);
    }
    ~ImagePages() override {
        if (painter_.isActive())
            painter_.end();
    }

    QPaintDevice* Device() override { return &measure_; }
    int PageWidth() override { return width_; }
    int PageHeight() override { return height_; }
    QPainter* StartDocument() override {
        ++starts;
        AddPage();
        return painter_.begin(pages.back().get()) ? &painter_ : nullptr;
    }
    bool NextPage() override {
        ++newPages;
        painter_.end();
        AddPage();
        return painter_.begin(pages.back().get());
    }
    bool FinishDocument() override {
        ++finishes;
        if (painter_.isActive())
            painter_.end();
        return true;
    }

    const QImage& Page(std::size_t i) const { return *pages.at(i); }

    std::vector<std::unique_ptr<QImage>> pages;
    int starts = 0;
    int newPages = 0;
    int finishes = 0;

private:
    void SetDpi(QImage& image) const {
        const int dpm = int(dpi_ / 0.0254 + 0.5);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
    }
    void AddPage() {
        auto page = std::make_unique<QImage>(width_, height_, QImage::Format_RGB32);
        page->fill(Qt::white);
        SetDpi(*page);
        pages.push_back(std::move(page));
    }

    int width_;
    int height_;
    int dpi_;
    QImage measure_{1, 1, QImage::Format_RGB32};
    QPainter painter_;
};

// A dictionary made up by a test: the printer's keys, any number of sheets and a tree. Cell
// models come from the main dictionary.
class PrintDictionary {
public:
    struct Settings {
        std::string margins = "0,0,0,0";
        int fontPoints = 9;
        int frameFont = 8;
    };
    explicit PrintDictionary(const Settings& settings) {
        lines_ = {"#GI_Sys_AppTitleRev",
                  "Rev",
                  "#GI_Sys_Maker",
                  "Maker",
                  "#GI_Sys_Printer_Margins",
                  settings.margins,
                  "#GI_Sys_Printer_FontPoints",
                  std::to_string(settings.fontPoints),
                  "#GI_Sys_Printer_FrameFont",
                  std::to_string(settings.frameFont),
                  "#GI_PMenu_NoItem_BasicCell",
                  "{($Basic)}",
                  "#GI_PMenu_NoItem_Body",
                  "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}"};
    }
    PrintDictionary& Sheet(const std::string& name, const std::string& style,
                           const std::vector<std::string>& cells) {
        lines_.insert(lines_.end(), {"#" + name + "_Style", style, "#" + name + "_BasicCell",
                                     "{($Basic)}", "#" + name + "_Cells"});
        lines_.insert(lines_.end(), cells.begin(), cells.end());
        return *this;
    }
    // Node lines as the tree's body has them ("+Caption{(%CallSheet:A)}", indented by depth).
    PrintDictionary& Tree(const std::vector<std::string>& body) {
        lines_.insert(lines_.end(),
                      {"#GI_Tree_Main_BasicCell", "{(Color=clWindow)}", "#GI_Tree_Main_Body"});
        lines_.insert(lines_.end(), body.begin(), body.end());
        return *this;
    }
    cmcGTex& operator*() {
        if (pointers_.empty()) {
            lines_.push_back("#End_Of_Ovl");
            for (const std::string& l : lines_)
                pointers_.push_back(l.c_str());
            dict_.SetLines(pointers_.data(), pointers_.size());
        }
        return dict_;
    }

private:
    std::vector<std::string> lines_;
    std::vector<const char*> pointers_;
    cmcGTex dict_;
};

// Pixels of one colour (RGB, alpha ignored) within a rectangle of an image.
inline int CountColour(const QImage& image, const QRect& area, QRgb colour) {
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// Pixels that are not white within a rectangle.
inline int CountInk(const QImage& image, const QRect& area) {
    const QRect r = area.intersected(image.rect());
    return r.width() * r.height() - CountColour(image, r, 0xFFFFFF);
}
