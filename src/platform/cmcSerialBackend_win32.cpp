// The serial backend on Windows: the communications functions on an overlapped-free handle,
// with reads that return at once and writes bounded by the total write time-out.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "platform/cmcSerialBackend.h"

namespace {

constexpr BYTE kXonChar = 0x11;
constexpr BYTE kXoffChar = 0x13;
constexpr BYTE kErrorChar = 0x3F;
constexpr BYTE kEofChar = 0xFD;
constexpr BYTE kEventChar = 0xFE;

std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string s = n && text ? std::string(text, n) : "error " + std::to_string(code);
    if (text)
        LocalFree(text);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

class cmcWin32Serial : public cmcSerialBackend {
public:
    ~cmcWin32Serial() override { Close(); }

    bool Open(const std::string& device, const cmcLineSettings& settings, int inputQueue,
              int outputQueue) override {
        Close();
        SetError(cmcSerialError::None, std::string());
        handle_ = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            const DWORD e = GetLastError();
            if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND)
                SetError(cmcSerialError::NoDevice, device + ": no such device.");
            else if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION)
                SetError(cmcSerialError::Busy, device + ": the port is in use by another program.");
            else
                SetError(cmcSerialError::Other, device + ": " + SystemText(e) + ".");
            return false;
        }
        if (!SetupComm(handle_, static_cast<DWORD>(inputQueue), static_cast<DWORD>(outputQueue)) ||
            !PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
            return FailSettings(device);

        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = MAXDWORD;  // return at once with what is waiting
        t.ReadTotalTimeoutMultiplier = 0;
        t.ReadTotalTimeoutConstant = 0;
        t.WriteTotalTimeoutMultiplier =
            settings.baudRate > 0 ? static_cast<DWORD>(100000 / settings.baudRate) : 0;
        t.WriteTotalTimeoutConstant = 3000;
        if (!SetCommTimeouts(handle_, &t))
            return FailSettings(device);

        DCB dcb{};
        dcb.DCBlength = sizeof(dcb);
        if (!GetCommState(handle_, &dcb))
            return FailSettings(device);
        dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fAbortOnError = FALSE;
        dcb.XonLim = static_cast<WORD>(inputQueue / 2);
        dcb.XoffLim = static_cast<WORD>(inputQueue * 3 / 4);
        dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
        dcb.Parity = settings.parity == 'E' || settings.parity == 'e'   ? EVENPARITY
                     : settings.parity == 'O' || settings.parity == 'o' ? ODDPARITY
                                                                        : NOPARITY;
        dcb.StopBits = settings.stopBits == 1   ? ONE5STOPBITS
                       : settings.stopBits == 2 ? TWOSTOPBITS
                                                : ONESTOPBIT;
        dcb.XonChar = static_cast<char>(kXonChar);
        dcb.XoffChar = static_cast<char>(kXoffChar);
        dcb.ErrorChar = static_cast<char>(kErrorChar);
        dcb.EofChar = static_cast<char>(kEofChar);
        dcb.EvtChar = static_cast<char>(kEventChar);
        if (!SetCommState(handle_, &dcb))
            return FailSettings(device);
        return true;
    }

    void Close() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

    int Read(std::uint8_t* destination, int max) override {
        if (!IsOpen() || max <= 0)
            return 0;
        const int waiting = InputCount();
        const DWORD n = static_cast<DWORD>(waiting < max ? waiting : max);
        if (n == 0)
            return 0;
        DWORD got = 0;
        if (!ReadFile(handle_, destination, n, &got, nullptr))
            return 0;
        return static_cast<int>(got);
    }

    int Write(const std::uint8_t* source, int n) override {
        if (!IsOpen() || n <= 0)
            return 0;
        DWORD put = 0;
        if (!WriteFile(handle_, source, static_cast<DWORD>(n), &put, nullptr))
            return 0;
        return static_cast<int>(put);
    }

    int InputCount() override {
        COMSTAT st{};
        DWORD errors = 0;
        if (!IsOpen() || !ClearCommError(handle_, &errors, &st))
            return 0;
        return static_cast<int>(st.cbInQue);
    }

    int OutputCount() override {
        COMSTAT st{};
        DWORD errors = 0;
        if (!IsOpen() || !ClearCommError(handle_, &errors, &st))
            return 0;
        return static_cast<int>(st.cbOutQue);
    }

private:
    bool FailSettings(const std::string& device) {
        SetError(cmcSerialError::Settings,
                 device + ": the port cannot be configured (" + SystemText(GetLastError()) + ").");
        Close();
        return false;
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<cmcSerialBackend> cmcCreateSerialBackend() {
    return std::make_unique<cmcWin32Serial>();
}
