#include "clone/cmcComm.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "clone/cmcPortName.h"
#include "events/cmcTask.h"

namespace {
constexpr int kPumpRetryMs = 10;

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}
}  // namespace

cmcComm::cmcComm() : backend_(cmcCreateSerialBackend()), pump_(new cmcTask) {
    pump_->SetHandler(&cmcComm::PumpHandler, this);
}

cmcComm::~cmcComm() {
    Close();
    cmcTask::Dispose(pump_);
}

bool cmcComm::ParseSettings(const std::string& text, cmcLineSettings& out) {
    // The comma is a single byte in every code page the resource file may use, and never the
    // trail byte of a UTF-8 sequence, so a plain split is safe.
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(Trim(
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (fields.size() < 4)
        return false;
    for (int i = 0; i < 4; ++i)
        if (fields[static_cast<size_t>(i)].empty())
            return false;
    cmcLineSettings s;
    s.baudRate = std::atoi(fields[0].c_str());
    const char p = fields[1][0];
    s.parity = (p == 'N' || p == 'n') ? 'N' : p;
    s.dataBits = std::clamp(std::atoi(fields[2].c_str()), 4, 8);
    s.stopBits = fields[3] == "1.5" ? 1 : fields[3] == "2" ? 2 : 0;
    out = s;
    return true;
}

bool cmcComm::Open(int portNumber, const std::string& settings) {
    if (IsOpen())
        return false;
    portNumber_ = portNumber;
    return OpenDevice(cmcPortDevice(portNumber), settings);
}

bool cmcComm::OpenDevice(const std::string& device, const std::string& settings) {
    if (IsOpen())
        return false;
    device_ = device;
    error_ = false;
    lastError_ = cmcSerialError::None;
    lastErrorText_.clear();
    lastErrorGroup_.clear();
    if (!ParseSettings(settings, line_)) {
        lastError_ = cmcSerialError::Settings;
        lastErrorText_ = "Incomplete port settings \"" + settings + "\".";
        return false;
    }
    if (!backend_->Open(device, line_, kInputQueueSize, kOutputQueueSize)) {
        lastError_ = backend_->LastError();
        lastErrorText_ = backend_->LastErrorText();
        lastErrorGroup_ = backend_->LastErrorGroup();
        backend_->Close();
        return false;
    }
    return true;
}

void cmcComm::Close() {
    pump_->Schedule(-1);
    backend_->Close();
    output_.Clear();
    error_ = false;
}

bool cmcComm::IsOpen() const {
    return backend_->IsOpen();
}

void cmcComm::Send(const std::uint8_t* bytes, int n) {
    if (!IsOpen() || n <= 0)
        return;
    pump_->Schedule(-1);
    output_.Append(bytes, n);
    pump_->Schedule(0);
}

int cmcComm::Read(std::uint8_t* destination, int max) {
    if (!IsOpen())
        return 0;
    return backend_->Read(destination, max);
}

int cmcComm::InputCount() {
    return IsOpen() ? backend_->InputCount() : 0;
}

int cmcComm::DriverOutputCount() {
    return IsOpen() ? backend_->OutputCount() : 0;
}

int cmcComm::PendingOutput() {
    return DriverOutputCount() + output_.GetLength();
}

void cmcComm::SetBackend(std::unique_ptr<cmcSerialBackend> backend) {
    Close();
    backend_ = std::move(backend);
}

void cmcComm::PumpHandler(void* context, cmcTask&) {
    static_cast<cmcComm*>(context)->Pump();
}

void cmcComm::Pump() {
    if (!IsOpen()) {
        pump_->Schedule(-1);
        return;
    }
    const int n = std::min(output_.GetLength(), kOutputQueueSize);
    if (backend_->OutputCount() != 0) {
        pump_->Schedule(kPumpRetryMs);
        return;
    }
    const int written = n > 0 ? backend_->Write(output_.Data(), n) : 0;
    if (written < n) {
        // The buffer keeps every byte: what went out partly is not known to the caller anyway,
        // and the error ends the operation.
        error_ = true;
        pump_->Schedule(-1);
        return;
    }
    if (output_.GetLength() > n) {
        output_.RemoveFront(n);
        pump_->Schedule(kPumpRetryMs);
    } else {
        output_.SetLength(0);
        pump_->Schedule(-1);
    }
}
