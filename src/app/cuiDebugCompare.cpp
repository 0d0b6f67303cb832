#include "app/cuiDebugCompare.h"

#include <cstdio>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/cuiAppText.h"
#include "memory/cmcEeprom.h"
#include "ui/windows/cuiPlacement.h"

namespace {

// Its texts: lines of "GI_Debug_Window".
constexpr const char* kTextsKey = "GI_Debug_Window";
constexpr int kTitleLine = 2;
constexpr int kSizeLine = 3;
constexpr int kCloseLine = 4;

}  // namespace

std::vector<std::string> cuiDebugCompare::CompareLines(const cmcEeprom& reference,
                                                       const cmcEeprom& working) {
    if (reference.GetSize() != working.GetSize())
        return {cmcGTex::Main()->Line(kTextsKey, kSizeLine)};
    std::vector<std::string> lines;
    const uint8_t* r = reference.Bytes();
    const uint8_t* w = working.Bytes();
    for (int i = 0; i < working.GetSize(); ++i) {
        if (r[i] == w[i])
            continue;
        char line[32];
        std::snprintf(line, sizeof line, "%04X : %02X -> %02X", unsigned(i), unsigned(r[i]),
                      unsigned(w[i]));
        lines.emplace_back(line);
    }
    return lines;
}

cuiDebugCompare::cuiDebugCompare(QWidget* owner, const QWidget* area,
                                 const std::vector<std::string>& lines)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("debugCompare"));
    setWindowTitle(cuiMainText(kTextsKey, kTitleLine));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    list_ = new QPlainTextEdit(this);
    list_->setReadOnly(true);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // the lines are short
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString text;
    for (const std::string& line : lines) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLatin1(line.c_str());
    }
    list_->setPlainText(text);
    layout->addWidget(list_, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    close_ = new QPushButton(cuiMainText(kTextsKey, kCloseLine), this);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(close_);
    bottom->addStretch(1);
    layout->addLayout(bottom);

    // Exactly over the tree's area on the screen.
    if (area != nullptr)
        setGeometry(QRect(area->mapToGlobal(QPoint(0, 0)), area->size()));
    close_->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<cuiDebugCompare> cuiDebugCompare::Prepare(QWidget* owner, const QWidget* area,
                                                          cmcEeprom& reference,
                                                          const cmcEeprom& working) {
    auto window = std::make_unique<cuiDebugCompare>(owner, area, CompareLines(reference, working));
    reference.CopyFrom(working);
    return window;
}

void cuiDebugCompare::ShowDebugCompare(QWidget* owner, const QWidget* area, cmcEeprom& reference,
                                       const cmcEeprom& working) {
    cuiFocusBack focus(owner);  // the keyboard goes back where it was when the window closes
    std::unique_ptr<cuiDebugCompare> window = Prepare(owner, area, reference, working);
    window->exec();
}
