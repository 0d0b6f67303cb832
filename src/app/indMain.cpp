#include "app/indMain.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTreeWidget>

#include "app/cuiStatusPanels.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiTree.h"

void indMain::BuildWindow(TForm1& form) {
    cuiMain::BuildWindow(form);
    const std::string& mark = Session().MarkText();
    cuiStatusPanels* panels = StatusPanels();
    if (mark.empty() || panels == nullptr || panels->Count() == 0)
        return;
    // The plain panel at the right becomes the mark panel, as wide as its text and two letters.
    markPanel_ = panels->Count() - 1;
    const QFontMetrics metrics(panels->font());
    panels->SetOwnerDrawn(markPanel_, true);
    panels->SetPanelWidth(markPanel_,
                          metrics.horizontalAdvance(QString::fromLocal8Bit(mark.c_str())) +
                              metrics.horizontalAdvance(QStringLiteral("XX")));
    StatusBarResized();
}

void indMain::BuildTree() {
    cuiMain::BuildTree();
    if (cuiTree* tree = Tree())
        if (QTreeWidgetItem* root = tree->FirstNode()) {
            const QString name =
                QString::fromLocal8Bit(Dictionary().Text("GI_Sys_RadioName").c_str());
            root->setText(0, name);
            root->setToolTip(0, name);
        }
}

void indMain::DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) {
    if (panel != markPanel_) {
        cuiMain::DrawStatusPanel(painter, panel, rect);
        return;
    }
    painter.fillRect(rect, ToQColor(kMarkBack));
    painter.setPen(ToQColor(kMarkText));
    painter.setFont(StatusPanels()->font());
    const QString text = QString::fromLocal8Bit(Session().MarkText().c_str());
    const QFontMetrics metrics(StatusPanels()->font());
    const int x = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = rect.top() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
