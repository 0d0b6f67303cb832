#include "ui/print/cuiPrintTarget.h"

#include <QPagedPaintDevice>

int cuiPrintTarget::PageWidth() {
    return Device()->width();
}

int cuiPrintTarget::PageHeight() {
    return Device()->height();
}

cuiPagedTarget::~cuiPagedTarget() {
    if (painter_.isActive())
        painter_.end();
}

QPaintDevice* cuiPagedTarget::Device() {
    return &device_;
}

QPainter* cuiPagedTarget::StartDocument() {
    if (painter_.isActive())
        return &painter_;
    return painter_.begin(&device_) ? &painter_ : nullptr;
}

bool cuiPagedTarget::NextPage() {
    return painter_.isActive() && device_.newPage();
}

bool cuiPagedTarget::FinishDocument() {
    return !painter_.isActive() || painter_.end();
}
