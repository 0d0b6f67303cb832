#include "clone/indCloneMan.h"

#include "events/cmcTask.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcHost.h"
#include "platform/cmcProgress.h"
#include "text/cmcGTex.h"

using R = dst_CDrv_Result;

namespace {

// The port line of the messages names the port with one "%d". It is a resource text, so it is
// never handed to printf: the first "%d" is replaced by the value, "%%" becomes "%", and any
// other '%' stays as it is.
std::string SubstitutePort(const std::string& format, const std::string& value,
                           const std::string& device) {
    std::string text = format;
    if (!device.empty()) {
        const size_t com = text.find("COM%d");
        if (com != std::string::npos)
            text.replace(com, 5, "%d");
    }
    std::string out;
    bool substituted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            if (text[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (text[i + 1] == 'd' && !substituted) {
                out += device.empty() ? value : device;
                substituted = true;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string CheckLines(cmcGTex& gtex, std::initializer_list<int> lines) {
    std::string out;
    bool allEmpty = true;
    for (int n : lines) {
        if (n != *lines.begin())
            out += '\n';
        const std::string line = gtex.Line("GI_Mess_CloneErr_Check", n);
        allEmpty = allEmpty && line.empty();
        out += line;
    }
    // A resource file that leaves the lines empty wants no check list.
    return allEmpty ? std::string() : out;
}

// What to run to join the group that owns the port: each line of the text with its "%s" (at
// most one a line) replaced by the group's name, never handed to printf.
std::string GroupAdvice(cmcGTex& gtex, const std::string& group) {
    std::string out;
    for (int n = 0; n < 2; ++n) {
        std::string line = gtex.Line("GI_Mess_CloneErr_Group", n);
        const size_t at = line.find("%s");
        if (at != std::string::npos)
            line.replace(at, 2, group);
        out += (n == 0 ? "" : "\n") + line;
    }
    return out;
}

}  // namespace

indCloneMan::indCloneMan() : progressTask_(new cmcTask) {
    progressTask_->SetHandler(&indCloneMan::OnProgressTick, this);
}

indCloneMan::~indCloneMan() {
    cmcTask::Dispose(progressTask_);
    CloseProgress();
}

int indCloneMan::ProgressCells(int done, int total) {
    if (total <= 0)
        return 0;
    const long long p = 33LL * done / total;
    return p > kProgressCells ? kProgressCells : p < 0 ? 0 : static_cast<int>(p);
}

std::string indCloneMan::StatusText(int status, int portNumber, const std::string& device,
                                    const std::string& reason, const std::string& group,
                                    bool beforeWrite) {
    if (status == R::kOk)
        return std::string();
    cmcGTex& gtex = *cmcGTex::Main();
    std::string head = gtex.Line("GI_Mess_CloneErr_Head", status);
    if (beforeWrite) {
        // The general lines allow for a write cut short; before a write that cannot be.
        const std::string read = gtex.Line("GI_Mess_CloneErr_ReadHead", status);
        if (!read.empty())
            head = read;
        head += "\n" + gtex.Text("GI_Mess_CloneErr_NothingWritten");
    }
    std::string body;
    switch (status) {
        case R::kPortFailed:
            head = SubstitutePort(head, std::to_string(portNumber), device);
            body = CheckLines(gtex, {0, 1, 2, 3});
            // The system's reason (no such device, busy, permission) tells the user what to do,
            // and a port the system refuses the user is opened by joining its group.
            if (!group.empty())
                body = GroupAdvice(gtex, group) + "\n\n" + body;
            if (!reason.empty())
                body = reason + "\n\n" + body;
            break;
        case R::kWriteRefused:
            body = CheckLines(gtex, {0, 2, 3});
            break;
        case R::kWrongModel:
            body = CheckLines(gtex, {0, 1, 2, 3, 4, 5});
            break;
        case R::kMapRevision:
            body = CheckLines(gtex, {0, 4, 5});
            break;
        case R::kNewerVersion:
            break;
        default:
            body = CheckLines(gtex, {0, 1, 2, 3});
            break;
    }
    if (body.empty())
        return head;
    return head + "\n\n" + body;
}

void indCloneMan::Prepare() {
    driver_.SetPort(portNumber_, kPortSettings);
    driver_.SetPortDevice(device_);
    driver_.SetRequestPreamble(kRequestPreamble);
    driver_.SetDataPreamble(kDataPreamble);
    driver_.SetEchoCheck(true);
}

bool indCloneMan::Begin(int operation, indCloneCallback completion, void* owner) {
    operation_ = operation;
    completion_ = completion;
    completionOwner_ = owner;
    Prepare();
    return true;
}

bool indCloneMan::StartInfo(indCloneCallback completion, void* owner) {
    if (IsBusy())
        return false;
    totalBytes_ = 0;
    Begin(R::kInfo, completion, owner);
    if (progress_)
        progress_->SetMainWindowEnabled(false);
    windowLocked_ = true;
    if (!driver_.StartInfo(&indCloneMan::OnDriverDone, this)) {
        CloseProgress();
        return false;
    }
    return true;
}

bool indCloneMan::StartRead(const cmcRange* ranges, indCloneCallback completion, void* owner) {
    if (IsBusy())
        return false;
    totalBytes_ = 0;
    for (const cmcRange* r = ranges; r && !r->IsEndMark(); ++r)
        totalBytes_ += r->last - r->first + 1;
    Begin(R::kRead, completion, owner);
    if (!driver_.StartRead(ranges, &indCloneMan::OnDriverDone, this))
        return false;
    ShowProgress();
    return true;
}

bool indCloneMan::StartWrite(const cmcEeprom& image, const cmcRange* ranges,
                             indCloneCallback completion, void* owner) {
    if (IsBusy())
        return false;
    totalBytes_ = 0;
    for (const cmcRange* r = ranges; r && !r->IsEndMark(); ++r)
        totalBytes_ += r->last - r->first + 1;
    Begin(R::kWrite, completion, owner);
    if (!driver_.StartWrite(image, ranges, &indCloneMan::OnDriverDone, this))
        return false;
    ShowProgress();
    return true;
}

void indCloneMan::ShowProgress() {
    if (progress_) {
        if (!progressShown_)
            progress_->Show("Cloning");
        progress_->SetMainWindowEnabled(false);
        progress_->Update(0, kProgressCells, 0, totalBytes_);
    }
    progressShown_ = true;
    windowLocked_ = true;
    progressTask_->Schedule(kProgressMs);
}

void indCloneMan::CloseProgress() {
    if (progress_ && windowLocked_)
        progress_->SetMainWindowEnabled(true);
    if (progress_ && progressShown_)
        progress_->Hide();
    windowLocked_ = false;
    progressShown_ = false;
}

void indCloneMan::OnProgressTick(void* context, cmcTask& task) {
    auto* self = static_cast<indCloneMan*>(context);
    if (!self->driver_.IsBusy()) {
        task.Schedule(-1);
        return;
    }
    if (self->progress_ && self->progressShown_) {
        const int done = self->driver_.DataByteCounter();
        self->progress_->Update(ProgressCells(done, self->totalBytes_), kProgressCells, done,
                                self->totalBytes_);
    }
}

void indCloneMan::Report(const R& result) const {
    if (!reportFailures_)
        return;
    const std::string text = StatusText(result.status, portNumber_, device_, result.portError,
                                        result.portGroup, readBeforeWrite_);
    if (text.empty())
        return;
    cmcHost::Instance().MessageBox(cmcGTex::Main()->Text("GI_Sys_AppTitle"), text, HostIcon::Error,
                                   HostButtons::Ok);
}

void indCloneMan::OnDriverDone(void* owner, R& result) {
    auto* self = static_cast<indCloneMan*>(owner);
    if (result.operation == R::kInfo) {
        if (self->infoHandler_)
            self->infoHandler_(self->infoOwner_, result);
        else
            result.status = R::kWrongModel;
    } else if (result.operation == R::kRead) {
        if (self->readHandler_)
            self->readHandler_(self->readOwner_, result);
        else
            result.status = R::kMissing;
    }
    if (self->progress_ && self->progressShown_) {
        const int done = self->driver_.DataByteCounter();
        self->progress_->Update(ProgressCells(done, self->totalBytes_), kProgressCells, done,
                                self->totalBytes_);
    }
    self->Report(result);
    self->progressTask_->Schedule(-1);
    self->CloseProgress();
    indCloneCallback completion = self->completion_;
    void* completionOwner = self->completionOwner_;
    self->completion_ = nullptr;
    self->completionOwner_ = nullptr;
    if (completion)
        completion(completionOwner, result);
}
