#include "session/indFleetRun.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <map>

#include "cells/cuiMainCore.h"
#include "clone/cmcPortName.h"
#include "clone/indCloneMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "platform/cmcProgress.h"
#include "profile/FileCommands.h"
#include "profile/ModelProfile.h"
#include "profile/indCloneCommands.h"
#include "session/indFleetDocument.h"
#include "session/indSession.h"
#include "session/indWriteCheck.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

using R = dst_CDrv_Result;

namespace {
constexpr char kVerifiedYes[] = "yes";
constexpr char kVerifiedNo[] = "no";
constexpr char kNotAsked[] = "not asked";
constexpr int kFirstRunStatus = indFleetStatus::kValueRefused;

std::string Sha256OfCloneRange(const cmcEeprom& image) {
    const QByteArray bytes(reinterpret_cast<const char*>(image.Bytes() + MemoryMap::kCloneFirst),
                           MemoryMap::kCloneLength);
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

// A name part from a radio's MMSI or comment: letters, digits, blanks and dashes only.
std::string FileNamePart(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == ' ' || c == '-';
        out += keep ? c : '_';
    }
    return out;
}
}  // namespace

std::string indFleetEntry::MmsiState() const {
    if (mmsiAfter.empty())
        return "none";
    return mmsiAfter == mmsiBefore ? "kept" : "set";
}

std::string indFleetEntry::RadioKey() const {
    return mmsiBefore.empty() ? "comment " + commentBefore : "MMSI " + mmsiBefore;
}

std::string indFleetOwnMmsi(const cmcEeprom& image) {
    if (!image.IsValidAddress(MemoryMap::kOwnIdentity + 4))
        return std::string();
    std::string digits;
    for (int i = 0; i < 5; ++i) {
        const int b = image.GetByte(MemoryMap::kOwnIdentity + i);
        if (b >= 100)
            return std::string();  // no identity (first byte), or one that is not digits
        digits += static_cast<char>('0' + b / 10);
        digits += static_cast<char>('0' + b % 10);
    }
    digits.resize(MemoryMap::kIdentityDigits);
    return digits;
}

std::string indFleetComment(const cmcEeprom& image) {
    return cmcCloneFile::ImageComment(image);
}

// A station's progress: how far its transfer is, told to the listener at each new percent and
// passed on to the front end's own display, if any.
class indFleetRun::Meter : public cmcProgress {
public:
    Meter(indFleetRun& run, int station) : run_(run), station_(station) {}
    void SetOuter(cmcProgress* outer) { outer_ = outer; }
    int Percent() const { return percent_; }
    // A new transfer step begins at 0 (no word to the listener: the step change is one).
    void Reset() { percent_ = 0; }

    void SetMainWindowEnabled(bool enabled) override {
        if (outer_)
            outer_->SetMainWindowEnabled(enabled);
    }
    void Show(const std::string& caption) override {
        Take(0);
        if (outer_)
            outer_->Show(caption);
    }
    void Update(int filled, int cells, int done, int total) override {
        Take(total > 0 ? static_cast<int>(100LL * std::min(std::max(done, 0), total) / total) : 0);
        if (outer_)
            outer_->Update(filled, cells, done, total);
    }
    void Hide() override {
        if (outer_)
            outer_->Hide();
    }

private:
    void Take(int percent) {
        if (percent == percent_)
            return;
        percent_ = percent;
        if (run_.listener_)
            run_.listener_->Progressed(station_);
    }

    indFleetRun& run_;
    int station_;
    cmcProgress* outer_ = nullptr;
    int percent_ = 0;
};

// One port of the run: its own clone manager and the radio it is busy with.
struct indFleetRun::Station {
    Station(indFleetRun& r, int i, const cmcPortArgument& p)
        : run(r), index(i), port(p), meter(r, i) {
        commands.InstallHooks();
        manager.SetReportFailures(false);
        manager.SetProgress(&meter);
    }
    indFleetRun& run;
    int index;
    cmcPortArgument port;
    Meter meter;
    indCloneMan manager;
    indCloneCommands commands{manager};
    Step step = Step::Idle;
    cmcEeprom radio;  // what the radio held
    cmcEeprom copy;   // what it is given
    std::unique_ptr<indFleetDocument> document;
    indFleetEntry entry;
};

indFleetRun::indFleetRun(indSession& session, indFleetValues* values, indFleetListener* listener)
    : session_(session), values_(values), listener_(listener) {}

indFleetRun::~indFleetRun() = default;

bool indFleetRun::Begin(const indFleetOptions& options, std::string& why) {
    why.clear();
    if (begun_) {
        why = "the run has begun already";
        return false;
    }
    if (options.ports.empty()) {
        why = "no port to write on";
        return false;
    }
    int errors = 0;
    int notices = 0;
    session_.RunWarningCheck(&errors, &notices);
    if (errors > 0) {
        cmcGTex& gtex = session_.Dictionary();
        const std::string text = ReadTextBlock(gtex, "GI_Mess_DataError");
        cmcHost::Instance().MessageBox(gtex.Text("GI_Sys_AppTitle"), text, HostIcon::Error,
                                       HostButtons::Ok);
        return false;
    }
    if (!options.radiosPath.empty()) {
        if (!plan_.Load(options.radiosPath, why)) {
            why = options.radiosPath + ": " + why;
            return false;
        }
        if (!plan_.Empty() && !values_) {
            why = "per-radio values cannot be entered here";
            return false;
        }
        // Every column must name a cell before any radio is touched.
        cuiMainCore core{session_, noViews_, session_};
        for (const std::string& column : plan_.Columns()) {
            std::string reason;
            if (!values_->Knows(core, column, reason)) {
                why = options.radiosPath + ": column \"" + column + "\": " + reason;
                return false;
            }
        }
    }
    if (options.backup && !options.backupDir.empty() &&
        !QDir().mkpath(QString::fromLocal8Bit(options.backupDir.c_str()))) {
        why = options.backupDir + ": the backup directory cannot be made";
        return false;
    }
    if (!journal_.Open(options.journalPath, why))
        return false;
    options_ = options;
    planImage_.CopyFrom(session_.WorkingImage());
    for (size_t i = 0; i < options.ports.size(); ++i)
        stations_.push_back(
            std::make_unique<Station>(*this, static_cast<int>(i), options.ports[i]));
    begun_ = true;
    return true;
}

const cmcPortArgument& indFleetRun::Port(int station) const {
    return stations_.at(static_cast<size_t>(station))->port;
}

bool indFleetRun::Busy(int station) const {
    return stations_.at(static_cast<size_t>(station))->step != Step::Idle;
}

bool indFleetRun::AnyBusy() const {
    return std::any_of(stations_.begin(), stations_.end(),
                       [](const std::unique_ptr<Station>& s) { return s->step != Step::Idle; });
}

indFleetRun::Step indFleetRun::StepOf(int station) const {
    return stations_.at(static_cast<size_t>(station))->step;
}

indCloneMan& indFleetRun::Manager(int station) {
    return stations_.at(static_cast<size_t>(station))->manager;
}

int indFleetRun::PercentOf(int station) const {
    return stations_.at(static_cast<size_t>(station))->meter.Percent();
}

void indFleetRun::SetProgress(int station, cmcProgress* progress) {
    stations_.at(static_cast<size_t>(station))->meter.SetOuter(progress);
}

const indFleetEntry* indFleetRun::EarlierSuccess(const std::string& radioKey) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->Succeeded() && it->RadioKey() == radioKey)
            return &*it;
    }
    return nullptr;
}

std::vector<const indFleetEntry*> indFleetRun::FailedRadios() const {
    // A radio's last attempt counts. An attempt that never learnt which radio it met (nothing
    // answered on the port) counts until a radio on that port succeeds.
    std::vector<std::string> order;
    std::map<std::string, const indFleetEntry*> last;
    for (const indFleetEntry& e : entries_) {
        const bool known = e.identified;
        const std::string port = "port " + std::to_string(e.station);
        if (known && e.Succeeded())
            last.erase(port);
        const std::string key = known ? e.RadioKey() : port;
        if (last.find(key) == last.end())
            order.push_back(key);
        last[key] = &e;
    }
    std::vector<const indFleetEntry*> failed;
    for (const std::string& key : order) {
        const auto it = last.find(key);
        if (it != last.end() && !it->second->Succeeded() &&
            std::find(failed.begin(), failed.end(), it->second) == failed.end())
            failed.push_back(it->second);
    }
    return failed;
}

std::string indFleetRun::StatusLine(int status) {
    cmcGTex& gtex = *cmcGTex::Main();
    if (status >= kFirstRunStatus)
        return gtex.Line("GI_Fleet_Status", status - kFirstRunStatus);
    return gtex.Line("GI_Mess_CloneErr_Head", status);
}

bool indFleetRun::Start(int station) {
    if (!begun_ || journalFailed_ || station < 0 || station >= Stations())
        return false;
    Station& s = *stations_[static_cast<size_t>(station)];
    if (s.step != Step::Idle || s.manager.IsBusy())
        return false;
    if (!AnyBusy())
        stopRequested_ = false;
    s.entry = indFleetEntry();
    s.entry.station = station;
    s.entry.portNumber = s.port.number;
    s.entry.device = s.port.device.empty() ? cmcPortDevice(s.port.number) : s.port.device;
    s.entry.cloneFile = options_.cloneFile;
    s.entry.verified = options_.verify ? kVerifiedNo : kNotAsked;
    s.document.reset();
    PreparePort(s);
    s.step = Step::Reading;
    s.meter.Reset();
    if (listener_)
        listener_->StepChanged(station);
    if (!s.commands.StartRead(planImage_.GetSize(), &indFleetRun::OnRead, &s)) {
        Finish(s, indFleetStatus::kNotStarted);
        return false;
    }
    return true;
}

void indFleetRun::PreparePort(Station& s) {
    s.manager.SetPort(s.port.number > 0 ? s.port.number : 1);
    s.manager.SetPortDevice(s.port.device);
}

bool indFleetRun::StartProbe(int station) {
    if (!begun_ || station < 0 || station >= Stations())
        return false;
    Station& s = *stations_[static_cast<size_t>(station)];
    if (s.step != Step::Idle || s.manager.IsBusy())
        return false;
    PreparePort(s);
    s.step = Step::Probing;
    if (listener_)
        listener_->StepChanged(station);
    if (!s.commands.StartInfo(&indFleetRun::OnProbe, &s)) {
        s.step = Step::Idle;
        if (listener_)
            listener_->StepChanged(station);
        return false;
    }
    return true;
}

void indFleetRun::OnProbe(void* station, R& result) {
    Station& s = *static_cast<Station*>(station);
    s.step = Step::Idle;
    std::string comment;
    const indRadioIdentity& id = s.commands.Identity();
    if (result.status == R::kOk && id.valid) {
        // Information bytes 3-18: the comment the radio holds.
        for (int i = 3; i < 3 + MemoryMap::kCommentLength; ++i)
            comment +=
                id.info[i] >= 0x20 && id.info[i] <= 0x7E ? static_cast<char>(id.info[i]) : ' ';
        comment.erase(comment.find_last_not_of(' ') + 1);
    }
    if (s.run.listener_) {
        s.run.listener_->StepChanged(s.index);
        s.run.listener_->ProbeEnded(s.index, result.status, comment);
    }
}

void indFleetRun::OnRead(void* station, R& result) {
    Station& s = *static_cast<Station*>(station);
    const indRadioIdentity& id = s.commands.Identity();
    if (id.valid) {
        char model[16];
        std::snprintf(model, sizeof model, "%04X/%04X", id.modelCode & 0xFFFF,
                      id.extraCode & 0xFFFF);
        s.entry.model = model;
        s.entry.mapRevision = id.info[2];
    }
    if (result.operation != R::kRead || result.status != R::kOk) {
        s.run.Finish(s, result.status == R::kOk ? indFleetStatus::kNotStarted : result.status,
                     std::string(), result.portError);
        return;
    }
    s.radio.CopyFrom(result.image);
    s.run.AfterRead(s);
}

std::vector<int> indFleetRun::ReservedRows(const Station& except) const {
    std::vector<int> rows;
    for (const auto& s : stations_) {
        if (s.get() != &except && s->step != Step::Idle && s->entry.row >= 0)
            rows.push_back(s->entry.row);
    }
    return rows;
}

void indFleetRun::AfterRead(Station& s) {
    indFleetEntry& e = s.entry;
    e.identified = true;
    e.commentBefore = indFleetComment(s.radio);
    e.mmsiBefore = indFleetOwnMmsi(s.radio);
    e.row = plan_.Match(e.mmsiBefore, ReservedRows(s));
    e.rowText = plan_.Describe(e.row);
    if (listener_)
        listener_->RadioRead(e);
    if (stopRequested_) {
        Finish(s, indFleetStatus::kStopped);
        return;
    }

    // A radio met again is written again only when the technician says so.
    if (const indFleetEntry* earlier = EarlierSuccess(e.RadioKey())) {
        if (!listener_ || !listener_->WriteAgain(e, *earlier)) {
            e.skipped = true;
            s.step = Step::Idle;
            if (listener_) {
                listener_->StepChanged(s.index);
                listener_->RadioDone(e);
            }
            return;
        }
    }

    if (options_.backup) {
        e.backupFile = NewBackupPath(e);
        // What the radio held, as it held it; a save that fails has said why.
        if (FileCommands::SaveCloneFile(e.backupFile, s.radio) != 0) {
            e.backupFile.clear();
            Finish(s, indFleetStatus::kBackupFailed);
            return;
        }
    }
    if (!MakeCopy(s))
        return;
    Preview(s);
    if (listener_)
        listener_->RadioPreviewed(e);

    s.step = Step::Writing;
    s.meter.Reset();
    if (listener_)
        listener_->StepChanged(s.index);
    if (!s.commands.StartWrite(s.copy, &indFleetRun::BeforeWrite, &indFleetRun::OnWritten, &s))
        Finish(s, indFleetStatus::kNotStarted);
}

bool indFleetRun::MakeCopy(Station& s) {
    indFleetEntry& e = s.entry;
    s.copy.CopyFrom(planImage_);
    // The radio keeps its own identity: a radio with an MMSI keeps it, one without gets none
    // unless its row gives it one.
    s.copy.WriteBlock(MemoryMap::kOwnIdentity, s.radio.Bytes() + MemoryMap::kOwnIdentity,
                      MemoryMap::kOwnIdentityBlockLength);
    s.document = std::make_unique<indFleetDocument>(session_, s.copy, s.radio);
    const cuiMainCore core{*s.document, noViews_, session_};
    if (e.row >= 0) {
        const indFleetPlan::Row& row = plan_.Rows()[static_cast<size_t>(e.row)];
        for (size_t c = 0; c < plan_.Columns().size(); ++c) {
            if (row.texts[c].empty())
                continue;
            std::string why;
            if (!values_->Enter(core, plan_.Columns()[c], row.texts[c], why)) {
                Finish(s, indFleetStatus::kValueRefused,
                       "\"" + plan_.Columns()[c] + "\" = \"" + row.texts[c] + "\": " + why);
                return false;
            }
        }
    }
    e.commentAfter = indFleetComment(s.copy);
    e.mmsiAfter = indFleetOwnMmsi(s.copy);
    const ModelProfile::WarningLists warnings = ModelProfile::RunWarningCheck(core);
    if (!warnings.errors.empty()) {
        std::string sheets;
        for (const std::string& ref : warnings.errors)
            sheets += (sheets.empty() ? "" : ", ") + session_.Dictionary().Text(ref.c_str());
        Finish(s, indFleetStatus::kDataErrors, sheets);
        return false;
    }
    return true;
}

void indFleetRun::Preview(Station& s) {
    // The radio as the sheets show it against what the write leaves there, as the single
    // write's preview compares them; the sheets are the front end's (none: no cells known).
    const cuiMainCore core{*s.document, noViews_, session_};
    cmcEeprom radio;
    radio.CopyFrom(s.radio);
    ModelProfile::NormalizeImage(core, radio, session_.TemplateImage(), false);
    cmcEeprom next;
    next.CopyFrom(s.copy);
    ModelProfile::NormalizeImage(core, next, session_.TemplateImage(), true);
    ModelProfile::NormalizeImage(core, next, session_.TemplateImage(), false);
    s.entry.changes =
        session_.Core().views.DifferingCells(radio, next, kPreviewLines, &s.entry.changedCells);
}

void indFleetRun::BeforeWrite(void* station, cmcEeprom& image) {
    Station& s = *static_cast<Station*>(station);
    const cuiMainCore core{*s.document, s.run.noViews_, s.run.session_};
    ModelProfile::NormalizeImage(core, image, s.run.session_.TemplateImage(), true);
    s.entry.sha256 = Sha256OfCloneRange(image);
    s.entry.commentAfter = indFleetComment(image);
    s.entry.mmsiAfter = indFleetOwnMmsi(image);
}

void indFleetRun::OnWritten(void* station, R& result) {
    Station& s = *static_cast<Station*>(station);
    if (result.operation != R::kWrite || result.status != R::kOk) {
        const int status = result.status == R::kOk ? indFleetStatus::kNotStarted : result.status;
        s.run.Finish(s, status, std::string(), result.portError);
        return;
    }
    s.entry.written = true;
    if (!s.run.options_.verify) {
        s.run.Finish(s, R::kOk);
        return;
    }
    s.step = Step::Verifying;
    s.meter.Reset();
    if (s.run.listener_)
        s.run.listener_->StepChanged(s.index);
    if (!s.commands.StartRead(s.copy.GetSize(), &indFleetRun::OnVerified, &s))
        s.run.Finish(s, indFleetStatus::kNotStarted);
}

void indFleetRun::OnVerified(void* station, R& result) {
    Station& s = *static_cast<Station*>(station);
    // The same judgement as the session's checked write, against the copy as normalised for
    // writing. A radio that kept an own identity other than the one its copy gave it does not
    // hold its plan here: the journal names the MMSI written.
    const indWriteCheck check = indWriteCheck::Judge(result, s.copy, s.radio);
    if (check.outcome == indWriteCheck::Outcome::ReadFailed) {
        const int status = result.status == R::kOk ? indFleetStatus::kNotStarted : result.status;
        s.run.Finish(s, status, std::string(), result.portError);
        return;
    }
    if (check.outcome != indWriteCheck::Outcome::Matched || check.identityKept) {
        s.run.Finish(s, indFleetStatus::kVerifyDiffers);
        return;
    }
    s.entry.verified = kVerifiedYes;
    s.run.Finish(s, R::kOk);
}

void indFleetRun::Finish(Station& s, int status, const std::string& detail,
                         const std::string& reason) {
    indFleetEntry& e = s.entry;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    e.timeUtc = now.toString(Qt::ISODate).toStdString();
    e.clockTime = now.toLocalTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
    e.status = status;
    e.statusText = StatusLine(status);
    if (status == R::kOk) {
        e.message.clear();
        plan_.Take(e.row);
    } else if (status >= kFirstRunStatus) {
        e.message = detail.empty() ? e.statusText : e.statusText + "\n" + detail;
    } else {
        e.message =
            indCloneMan::StatusText(status, e.portNumber, e.portNumber > 0 ? "" : e.device, reason);
    }
    entries_.push_back(e);
    std::string why;
    if (!journal_.Append(e, why)) {
        journalFailed_ = true;
        journalError_ = why;
    }
    s.step = Step::Idle;
    if (listener_) {
        listener_->StepChanged(s.index);
        listener_->RadioDone(entries_.back());
    }
}

std::string indFleetRun::NewBackupPath(const indFleetEntry& e) const {
    const QDir dir(QString::fromLocal8Bit(options_.backupDir.c_str()));
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    const std::string who = !e.mmsiBefore.empty()      ? e.mmsiBefore
                            : !e.commentBefore.empty() ? FileNamePart(e.commentBefore)
                                                       : "port " + std::to_string(e.station + 1);
    const QString base =
        QStringLiteral("T590 backup %1 %2").arg(stamp, QString::fromStdString(who));
    QString path = dir.filePath(base + QStringLiteral(".t590"));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).t590").arg(n));
    return path.toLocal8Bit().toStdString();
}
