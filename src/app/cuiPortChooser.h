#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class cmcSettingsStore;

// The port chooser: which serial device a COM number stands for. It lists the serial ports the
// system reports, with their description, maker and serial number, so that a technician can tell
// the cloning cable from other adapters; the device can also be typed (a pseudo-terminal, such as
// the demo radio's, is not listed by the system). The choice is kept in the settings under
// "Ports/COMn", where the serial link looks the device up.
class cuiPortChooser : public QDialog {
public:
    struct Port {
        std::string device;  // the path to open (/dev/ttyUSB0, \\.\COM3)
        std::string name;    // the system's short name (ttyUSB0, COM3)
        std::string description;
        std::string manufacturer;
        std::string serialNumber;
    };

    // The serial ports the system reports now.
    static std::vector<Port> AvailablePorts();

    // The chooser for COM `comNumber`, showing the device it stands for now; the list is filled
    // from `ports` (and from the system again by the Refresh button).
    cuiPortChooser(QWidget* parent, int comNumber, const std::string& currentDevice,
                   std::vector<Port> ports);

    // The device chosen (the text of the device field), trimmed.
    std::string Device() const;
    void SetPorts(std::vector<Port> ports);

    QTreeWidget* List() const { return list_; }
    QLineEdit* DeviceField() const { return device_; }
    QPushButton* OkButton() const { return ok_; }

    // Runs the chooser for a COM number; the chosen device, or none when cancelled.
    static std::optional<std::string> Choose(QWidget* parent, int comNumber);

    // The device kept for a COM number in the settings (empty: none), and keeping one (an empty
    // device makes the default device apply again).
    static std::string StoredDevice(const cmcSettingsStore& store, int comNumber);
    static bool StoreDevice(cmcSettingsStore& store, int comNumber, const std::string& device);

private:
    void Refresh();

    int comNumber_;
    QTreeWidget* list_;
    QLineEdit* device_;
    QLabel* empty_;
    QPushButton* ok_;
    std::vector<Port> ports_;
};
