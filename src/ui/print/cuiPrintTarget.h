#pragma once

#include <QPainter>

class QPagedPaintDevice;
class QPaintDevice;

// Where printed pages go. The print engine builds its sheets for the target's device (they
// measure their cells on it, and its resolution sets their scale) and paints every page with the
// target's painter. The painter starts on the first page, so a document in which nothing is
// printed leaves no blank page and no file behind.
class cuiPrintTarget {
public:
    virtual ~cuiPrintTarget() = default;

    // The device the sheets are built for.
    virtual QPaintDevice* Device() = 0;
    // The page in device pixels (the printable area; its top-left corner is (0, 0)).
    virtual int PageWidth();
    virtual int PageHeight();
    // The document's first page; nullptr when the device cannot be painted on.
    virtual QPainter* StartDocument() = 0;
    // A further page; false when the device refused it.
    virtual bool NextPage() = 0;
    // Ends the document (sends the job, closes the file); false when that failed.
    virtual bool FinishDocument() = 0;
};

// The target of a printer, a PDF writer or the print preview: one QPainter over the whole
// document, QPagedPaintDevice::newPage between pages.
class cuiPagedTarget : public cuiPrintTarget {
public:
    explicit cuiPagedTarget(QPagedPaintDevice& device) : device_(device) {}
    ~cuiPagedTarget() override;

    QPaintDevice* Device() override;
    QPainter* StartDocument() override;
    bool NextPage() override;
    bool FinishDocument() override;

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
};
