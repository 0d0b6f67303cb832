#pragma once

#include <vector>

#include <QWidget>

class QPainter;
class QRect;

// The panels of the main window's status bar, side by side from the left, each of its own width:
// the message panel (0) and the plain panel right of it, which the model may turn into its mode
// mark panel. Owner-drawn panels are painted by the controller; resizing tells the controller,
// which divides the width anew. Callbacks are (function, context) pairs.
class cuiStatusPanels : public QWidget {
public:
    using DrawCallback = void (*)(void* context, QPainter& painter, int panel, const QRect& rect);
    using ResizeCallback = void (*)(void* context);

    explicit cuiStatusPanels(QWidget* parent = nullptr);

    // A panel inserted before index (Count() appends); returns its index.
    int InsertPanel(int index, int width, bool ownerDrawn);
    int Count() const { return static_cast<int>(panels_.size()); }
    int PanelWidth(int panel) const;
    void SetPanelWidth(int panel, int width);
    bool OwnerDrawn(int panel) const;
    void SetOwnerDrawn(int panel, bool ownerDrawn);
    // Where a panel lies in this widget (its full height).
    QRect PanelRect(int panel) const;
    // Repaints one panel.
    void RepaintPanel(int panel);

    void SetDrawCallback(DrawCallback callback, void* context);
    void SetResizeCallback(ResizeCallback callback, void* context);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Panel {
        int width = 0;
        bool ownerDrawn = false;
    };
    std::vector<Panel> panels_;
    DrawCallback draw_ = nullptr;
    void* drawContext_ = nullptr;
    ResizeCallback resized_ = nullptr;
    void* resizeContext_ = nullptr;
};
