#include "app/cuiPortChooser.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/cuiAppText.h"
#include "clone/cmcPortName.h"
#include "platform/cmcSettingsStore.h"
#include "text/cmcTextUtil.h"

namespace {

QString FromLocal(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}

constexpr int kDeviceRole = Qt::UserRole;

// The window's texts: lines of "GI_Port_Window"; the list's captions are "GI_Port_Columns".
constexpr const char* kTextsKey = "GI_Port_Window";
enum TextLine { kTitle = 0, kIntro, kNoPorts, kDevice, kRefresh };

// The settings group and value name of "Ports/COMn".
constexpr char kPortsGroup[] = "Ports";

std::string ValueName(int comNumber) {
    return "COM" + std::to_string(comNumber);
}

}  // namespace

std::vector<cuiPortChooser::Port> cuiPortChooser::AvailablePorts() {
    std::vector<Port> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back(Port{info.systemLocation().toLocal8Bit().toStdString(),
                             info.portName().toLocal8Bit().toStdString(),
                             info.description().toLocal8Bit().toStdString(),
                             info.manufacturer().toLocal8Bit().toStdString(),
                             info.serialNumber().toLocal8Bit().toStdString()});
    }
    return ports;
}

cuiPortChooser::cuiPortChooser(QWidget* parent, int comNumber, const std::string& currentDevice,
                               std::vector<Port> ports)
    : QDialog(parent), comNumber_(comNumber) {
    setObjectName(QStringLiteral("portChooser"));
    cmcGTex& texts = *cmcGTex::Main();
    const std::string number = std::to_string(comNumber);
    setWindowTitle(cuiLocalText(FillPlaceholders(texts.Line(kTextsKey, kTitle), {number})));
    auto* layout = new QVBoxLayout(this);

    auto* intro =
        new QLabel(cuiLocalText(FillPlaceholders(texts.Line(kTextsKey, kIntro), {number})), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("portList"));
    list_->setColumnCount(4);
    QStringList captions;
    for (int n = 0; n < 4; ++n)
        captions << cuiLocalText(texts.Line("GI_Port_Columns", n));
    list_->setHeaderLabels(captions);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(520, 140);
    layout->addWidget(list_, 1);
    empty_ = new QLabel(cuiLocalText(texts.Line(kTextsKey, kNoPorts)), this);
    empty_->setWordWrap(true);
    layout->addWidget(empty_);

    auto* form = new QFormLayout;
    device_ = new QLineEdit(FromLocal(currentDevice), this);
    device_->setObjectName(QStringLiteral("portDevice"));
    device_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    form->addRow(cuiLocalText(texts.Line(kTextsKey, kDevice)), device_);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* refresh = buttons->addButton(cuiLocalText(texts.Line(kTextsKey, kRefresh)),
                                              QDialogButtonBox::ActionRole);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(refresh, &QPushButton::clicked, this, [this] { SetPorts(AvailablePorts()); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr)
            device_->setText(item->data(0, kDeviceRole).toString());
    });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            device_->setText(item->data(0, kDeviceRole).toString());
            accept();
        }
    });
    connect(device_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ok_->setEnabled(!text.trimmed().isEmpty()); });
    ok_->setEnabled(!device_->text().trimmed().isEmpty());

    SetPorts(std::move(ports));
    // The field has the keyboard first: a list that took it would make its first port current,
    // and with it the device, before the technician has chosen anything.
    device_->setFocus(Qt::OtherFocusReason);
}

void cuiPortChooser::SetPorts(std::vector<Port> ports) {
    ports_ = std::move(ports);
    Refresh();
}

void cuiPortChooser::Refresh() {
    const QString current = device_->text().trimmed();
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
    }
    QTreeWidgetItem* match = nullptr;
    for (const Port& p : ports_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, FromLocal(p.name.empty() ? p.device : p.name));
        item->setToolTip(0, FromLocal(p.device));
        item->setText(1, FromLocal(p.description));
        item->setText(2, FromLocal(p.manufacturer));
        item->setText(3, FromLocal(p.serialNumber));
        item->setData(0, kDeviceRole, FromLocal(p.device));
        if (FromLocal(p.device) == current)
            match = item;
    }
    for (int c = 0; c < 3; ++c)
        list_->resizeColumnToContents(c);
    empty_->setVisible(ports_.empty());
    if (match != nullptr) {
        const QSignalBlocker quiet(list_);
        list_->setCurrentItem(match);
    }
}

std::string cuiPortChooser::Device() const {
    return device_->text().trimmed().toLocal8Bit().toStdString();
}

std::optional<std::string> cuiPortChooser::Choose(QWidget* parent, int comNumber) {
    cuiPortChooser chooser(parent, comNumber, cmcPortDevice(comNumber), AvailablePorts());
    if (chooser.exec() != QDialog::Accepted || chooser.Device().empty())
        return std::nullopt;
    return chooser.Device();
}

std::string cuiPortChooser::StoredDevice(const cmcSettingsStore& store, int comNumber) {
    std::string device;
    if (!store.ReadText(kPortsGroup, ValueName(comNumber).c_str(), device))
        return std::string();
    return device;
}

bool cuiPortChooser::StoreDevice(cmcSettingsStore& store, int comNumber,
                                 const std::string& device) {
    store.WriteText(kPortsGroup, ValueName(comNumber).c_str(), device);
    return store.Flush();
}
