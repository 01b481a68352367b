#include "sim/SimDevice.h"

#include "settings/DeviceAnnouncement.h"
#include "settings/DeviceSettings.h"
#include "settings/Firmware.h"
#include "settings/LayoutCR99.h"
#include "settings/LayoutCRFF.h"
#include "settings/LayoutNumbers.h"
#include "settings/Sections.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// One byte on a 9600-baud 8N1 line: ten bits.
constexpr std::chrono::nanoseconds kByteTime(1041667);
constexpr int kKeyPackLength = 129;
constexpr int kSoundFirstData = 250;
constexpr int kSoundPacketData = 256;
constexpr int kSoundHeader = 6;

constexpr char kFiller = char(0x7F);
// Key table: twelve digit bytes per slot from byte 1; presence flags of rows
// 4g..4g+3 at 241 + (g ^ 1), ГБР flags at 247 + (g ^ 1).
constexpr int kKeyBodyLength = 254;
constexpr int kKeySlotDigits = 12;
constexpr int kPresentFlags = 241;
constexpr int kGbrFlags = 247;
constexpr int kKeyRows = 20;
constexpr int kGbrRows = 18;
constexpr int kKeyNumberPos = 5;
constexpr int kMenuStatePos = 12;
constexpr char kNoKeyNumber = 21;
// Key pack: '0', six bytes per slot (least significant first), then three
// bytes of presence bits and three of ГБР bits (slot n: bit n % 8 of byte n / 8).
constexpr int kPackSlots = 1;
constexpr int kPackPresent = 121;
constexpr int kPackGbr = 124;
constexpr int kThermRecord = 20;
const QByteArray kAck = QByteArray::fromHex("da00");

// A float as the device stores it: IEEE single precision, little-endian.
QByteArray FloatBytes(float v) {
    quint32 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((bits >> (8 * i)) & 0xFF);
    return out;
}

QByteArray Two(int a, int b) {
    QByteArray r;
    r.append(char(a)).append(char(b));
    return r;
}

// How the device streams its memory for a firmware date.
struct Layout {
    bool twoByteNumbers; // from 15.04.2010
    int payload;         // bytes per frame
    int dataBlocks;      // frames before the end frame
    int length;          // bytes of memory the read carries
};
Layout LayoutFor(const QDate& fw) {
    if (!FwOnOrAfter(fw, fw::k15_04_2010))
        return {false, 11, 93, 1023};
    if (!FwOnOrAfter(fw, fw::k19_04_2012))
        return {true, 10, 358, 3590};
    return {true, 10, 383, 3840};
}

} // namespace

// ---------------------------------------------------------------- wire formats

QByteArray SimDevice::SectionFor(const QByteArray& name) {
    const DeviceSettings& s = *g_deviceSettings;
    if (name == "CRAA")
        return BuildPackCRAA(s);
    if (name == "CRQQ")
        return BuildPackCRQQ(s);
    if (name == "CRMM")
        return BuildPackCRMM(s);
    if (name == "CRHH")
        return BuildPackCRHH(s);
    if (name == "CR77")
        return BuildPackCR77(s);
    if (name == "CR88")
        return BuildPackCR88(s);
    if (name == "CR99")
        return BuildPackCR99(s);
    return BuildPackCRFF(s);
}

QByteArray SimDevice::Greeting() {
    return QByteArray::fromHex("0d0a0d0a0d0a0d0a41540d0a00");
}

QByteArray SimDevice::GreetingAnswer() {
    return QByteArray::fromHex("000000000000000000003700");
}

QByteArray SimDevice::ReadyPacket(uchar model, const QDate& firmware, uchar build) {
    QByteArray r = QByteArray::fromHex("ec3030") + firmware.toString("ddMMyy").toLatin1();
    r.append(char(model)).append(char(build)).append('\0').append("\r\n").append('\0');
    return r;
}

QByteArray SimDevice::Request(const QByteArray& text) {
    QByteArray r = text + "\r\n";
    while (r.size() < 8)
        r.append('\0');
    return r;
}

QByteArray SimDevice::MemoryFrame(int block, const QByteArray& payload, bool twoByteNumbers) {
    QByteArray f(1, 'J');
    if (twoByteNumbers)
        f.append(char(block >= 256 ? 1 : 0)).append(char(block & 0xFF));
    else
        f.append(char(block));
    f.append(payload.left(twoByteNumbers ? 10 : 11));
    while (f.size() < 13)
        f.append('\0');
    return f.append('M').append('\r');
}

QByteArray SimDevice::ServiceFrame(int type, const QByteArray& data) {
    QByteArray f = QByteArray::fromHex("aa55aa53");
    return f.append(char(data.size() + 1)).append(char(type)).append(data);
}

SimDevice::SimDevice() {
    fwDate_ = QDate(2012, 4, 19);
    ApplyVersionRow(header_, VersionLookupText(QStringLiteral("19.04.2012"), build_), 0);
    testPackets_ = {QByteArray("K012345678901M"), QByteArray("L0123456789ABM")};
}

SimDevice::~SimDevice() {
    Stop();
}

bool SimDevice::Start() {
    if (thread_.joinable())
        return true;
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return false;
    // The line is raw from the start, so nothing is echoed before the
    // program configures its end.
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (::pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    slavePath_ = QString::fromLocal8Bit(name);
    quit_ = false;
    // Started again after a hang-up: a device that was switched back on.
    state_ = State::Idle;
    held_ = false;
    onRelease_ = nullptr;
    in_.clear();
    arriving_.clear();
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void SimDevice::Stop() {
    {
        std::lock_guard<std::mutex> l(m_);
        quit_ = true;
    }
    Wake();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> l(m_);
    CloseLine();
    for (int& fd : wake_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

QString SimDevice::SlavePath() const {
    std::lock_guard<std::mutex> l(m_);
    return slavePath_;
}

void SimDevice::Wake() {
    if (wake_[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] ssize_t r = ::write(wake_[1], &c, 1);
    }
}

// ---------------------------------------------------------------- configuration

void SimDevice::SetIdentity(uchar modelCode, const QDate& firmwareDate, uchar build) {
    std::lock_guard<std::mutex> l(m_);
    model_ = modelCode;
    fwDate_ = firmwareDate;
    build_ = build;
    const QString version = firmwareDate.toString(QStringLiteral("dd.MM.yyyy"));
    ApplyVersionRow(header_, VersionLookupText(version, build), 0);
}

int SimDevice::AnswerLength(const QByteArray& name) const {
    if (name == "CRQQ")
        return layout::crqq::kSize;
    if (name == "CR77")
        return layout::cr77::kSize;
    if (name == "CR88")
        return layout::cr88::kSize;
    if (name == "CR99")
        return Cr99Length(header_);
    if (name == "CRFF")
        return crff::kSize;
    return -1;
}

QDate SimDevice::FirmwareDate() const {
    std::lock_guard<std::mutex> l(m_);
    return fwDate_;
}

void SimDevice::SetMemoryImage(const QByteArray& image) {
    std::lock_guard<std::mutex> l(m_);
    image_ = image;
}

void SimDevice::SetSectionOrder(const QList<QByteArray>& names) {
    std::lock_guard<std::mutex> l(m_);
    sectionOrder_ = names;
}

void SimDevice::SetProgrammingOk(bool ok) {
    std::lock_guard<std::mutex> l(m_);
    programOk_ = ok;
}

void SimDevice::SetPaced(bool paced) {
    std::lock_guard<std::mutex> l(m_);
    paced_ = paced;
}

void SimDevice::SetSilent(bool silent) {
    std::lock_guard<std::mutex> l(m_);
    silent_ = silent;
    in_.clear();
}

void SimDevice::SetHeld(bool held) {
    {
        std::lock_guard<std::mutex> l(m_);
        held_ = held;
        if (!held && onRelease_) {
            auto then = std::move(onRelease_);
            onRelease_ = nullptr;
            then();
        }
    }
    Wake();
}

bool SimDevice::Held() const {
    std::lock_guard<std::mutex> l(m_);
    return held_;
}

bool SimDevice::TakeHold(int at, std::function<void()> then) {
    if (!TakeFault(Fault::Hold, at))
        return false;
    held_ = true;
    onRelease_ = std::move(then);
    return true;
}

void SimDevice::SetThermometers(const QByteArray& records, int count) {
    std::lock_guard<std::mutex> l(m_);
    therms_ = records;
    thermCount_ = count;
}

void SimDevice::SetSearchableThermometers(const QByteArray& records, int count) {
    std::lock_guard<std::mutex> l(m_);
    searchable_ = records;
    searchableCount_ = count;
}

void SimDevice::SetThermometerTemperature(int index, float celsius) {
    std::lock_guard<std::mutex> l(m_);
    const int at = index * kThermRecord + 8;
    if (index < 0 || at + 4 > therms_.size())
        return;
    const QByteArray t = FloatBytes(celsius);
    therms_.replace(at, 4, t);
}

QByteArray SimDevice::Thermometers() const {
    std::lock_guard<std::mutex> l(m_);
    return therms_.left(kThermRecord * thermCount_);
}

void SimDevice::SetDeviceTime(const QByteArray& text17) {
    std::lock_guard<std::mutex> l(m_);
    time_ = text17;
}

QByteArray SimDevice::DeviceTime() const {
    std::lock_guard<std::mutex> l(m_);
    return time_;
}

QByteArray SimDevice::TestPacketK(const QList<int>& codes) {
    QByteArray p(1, 'K');
    for (int i = 0; i < 6; ++i) {
        const int code = codes.value(i);
        p.append(char(code & 0x1F)).append(char((code >> 5) & 0x1F));
    }
    return p.append('M');
}

QByteArray SimDevice::TestPacketL(int code7, int code8, int key, int mains, int supply) {
    QByteArray p(1, 'L');
    for (int code : {code7, code8})
        p.append(char(code & 0x1F)).append(char((code >> 5) & 0x1F));
    p.append(char(key)).append(char(mains)).append('\0').append('\0');
    p.append(char(supply >> 8)).append(char((supply >> 4) & 0x0F)).append(char(supply & 0x0F));
    p.append('\0');
    return p.append('M');
}

QByteArray SimDevice::ThermometerRecord(const QByteArray& id8, float celsius, float upper,
                                        float lower) {
    return id8.left(8).leftJustified(8, '\0') + FloatBytes(celsius) + FloatBytes(upper) +
           FloatBytes(lower);
}

void SimDevice::SetGsmLevel(const QByteArray& twoDigits) {
    std::lock_guard<std::mutex> l(m_);
    gsm_ = twoDigits;
}

void SimDevice::SetTestPackets(const QList<QByteArray>& packets) {
    std::lock_guard<std::mutex> l(m_);
    testPackets_ = packets;
}

void SimDevice::SetTestPacketIntervalMs(int ms) {
    std::lock_guard<std::mutex> l(m_);
    testIntervalMs_ = ms;
}

void SimDevice::SetKeyTable(const QByteArray& body254) {
    std::lock_guard<std::mutex> l(m_);
    keyBody_ = body254;
}

void SimDevice::SetKeyTableSplit(const QList<int>& pieces, int pauseMs) {
    std::lock_guard<std::mutex> l(m_);
    keySplit_ = pieces;
    keySplitPauseMs_ = pauseMs;
}

QByteArray SimDevice::KeyTableBlock(const QByteArray& body254) {
    QByteArray block(1, char(0xA4));
    block.append(body254.left(254));
    while (block.size() < 255)
        block.append(char(0xFF));
    quint8 x = 0;
    for (char c : block)
        x ^= quint8(c);
    const quint8 c = x & 0x1F;
    return block.append(c == 0 ? 'A' : char(c | 0x40));
}

QByteArray SimDevice::KeyTableBody(const QList<KeyRow>& rows) {
    QByteArray body(kKeyBodyLength, char(0xFF));
    for (int g = 0; g < kKeyRows / 4; ++g) {
        body[kPresentFlags - 1 + (g ^ 1)] = char(0xF0);
        body[kGbrFlags - 1 + (g ^ 1)] = char(0xF0);
    }
    for (int r = 0; r < kKeyRows && r < rows.size(); ++r) {
        const QByteArray value = QByteArray::fromHex(rows[r].key).leftJustified(6, char(0xFF));
        for (int i = 0; i < 6; ++i) {
            const quint8 b = quint8(value[5 - i]);
            body[kKeySlotDigits * r + 2 * i] = char(0xF0 | (b >> 4));
            body[kKeySlotDigits * r + 2 * i + 1] = char(0xF0 | (b & 0x0F));
        }
        const int g = r / 4;
        if (rows[r].present)
            body[kPresentFlags - 1 + (g ^ 1)] |= char(1 << (r % 4));
        if (r < kGbrRows && rows[r].gbr)
            body[kGbrFlags - 1 + (g ^ 1)] |= char(1 << (r % 4));
    }
    return body;
}

QList<SimDevice::KeyRow> SimDevice::KeyRowsOf(const QByteArray& body254) {
    const QByteArray body = body254.leftJustified(kKeyBodyLength, char(0xFF), true);
    QList<KeyRow> rows;
    for (int r = 0; r < kKeyRows; ++r) {
        QByteArray value(6, '\0');
        for (int i = 0; i < 6; ++i) {
            const int hi = quint8(body[kKeySlotDigits * r + 2 * i]) & 0x0F;
            const int lo = quint8(body[kKeySlotDigits * r + 2 * i + 1]) & 0x0F;
            value[5 - i] = char(hi << 4 | lo);
        }
        KeyRow row;
        row.key = value.toHex('-').toUpper();
        const int g = r / 4;
        row.present = (quint8(body[kPresentFlags - 1 + (g ^ 1)]) >> (r % 4)) & 1;
        row.gbr = r < kGbrRows && ((quint8(body[kGbrFlags - 1 + (g ^ 1)]) >> (r % 4)) & 1);
        rows.append(row);
    }
    return rows;
}

QByteArray SimDevice::LPacket(uchar keyNumber, uchar menuState) {
    QByteArray p("L0123456789ABM");
    p[kKeyNumberPos] = char(keyNumber);
    p[kMenuStatePos] = char(menuState);
    return p;
}

void SimDevice::SetKeyRows(const QList<KeyRow>& rows) {
    SetKeyTable(KeyTableBody(rows));
}

QList<SimDevice::KeyRow> SimDevice::KeyRows() const {
    std::lock_guard<std::mutex> l(m_);
    return KeyRowsOf(keyBody_);
}

void SimDevice::ArmFault(Fault fault, int at, int count) {
    std::lock_guard<std::mutex> l(m_);
    faults_.append({fault, at, count});
}

void SimDevice::Reset() {
    std::lock_guard<std::mutex> l(m_);
    faults_.clear();
    silent_ = false;
    held_ = false;
    onRelease_ = nullptr;
    if (state_ != State::Dead)
        state_ = State::Idle;
    in_.clear();
    packetDue_ = packetOutstanding_ = false;
    delayed_.clear();
    received_.clear();
    asked_.clear();
    answers_.clear();
    acks_ = framesSent_ = 0;
    testAnswers_.clear();
    testPacketNo_ = 0;
    keyPacks_.clear();
    keyTableAcks_ = 0;
    deletionDone_ = refuseDeletes_ = false;
    soundPackets_.clear();
    soundStarts_ = filler_ = 0;
    soundNo_ = 0;
    service_.clear();
    programmingDone_ = readDone_ = false;
}

// ---------------------------------------------------------------- actions

void SimDevice::SendGreeting() {
    {
        std::lock_guard<std::mutex> l(m_);
        Queue(Greeting());
        state_ = State::AwaitGreetingAnswer;
        in_.clear();
    }
    Wake();
}

void SimDevice::SendRaw(const QByteArray& bytes) {
    {
        std::lock_guard<std::mutex> l(m_);
        Queue(bytes);
    }
    Wake();
}

void SimDevice::HangUp() {
    {
        std::lock_guard<std::mutex> l(m_);
        CloseLine();
    }
    Wake();
}

void SimDevice::CloseLine() {
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
    out_.clear();
    state_ = State::Dead;
}

// ---------------------------------------------------------------- observation

QByteArray SimDevice::Received() const {
    std::lock_guard<std::mutex> l(m_);
    return received_;
}
QList<QByteArray> SimDevice::SectionsAsked() const {
    std::lock_guard<std::mutex> l(m_);
    return asked_;
}
QList<QByteArray> SimDevice::SectionAnswers() const {
    std::lock_guard<std::mutex> l(m_);
    return answers_;
}
int SimDevice::AcksReceived() const {
    std::lock_guard<std::mutex> l(m_);
    return acks_;
}
int SimDevice::FramesSent() const {
    std::lock_guard<std::mutex> l(m_);
    return framesSent_;
}
bool SimDevice::InTestMode() const {
    std::lock_guard<std::mutex> l(m_);
    return state_ == State::Test || state_ == State::AwaitKeyTableAck;
}
QList<SimDevice::TestAnswerRecord> SimDevice::TestAnswers() const {
    std::lock_guard<std::mutex> l(m_);
    return testAnswers_;
}
int SimDevice::TestPacketsSent() const {
    std::lock_guard<std::mutex> l(m_);
    return testPacketNo_;
}
QList<QByteArray> SimDevice::KeyPacks() const {
    std::lock_guard<std::mutex> l(m_);
    return keyPacks_;
}
int SimDevice::KeyTableAcks() const {
    std::lock_guard<std::mutex> l(m_);
    return keyTableAcks_;
}
QList<QList<QByteArray>> SimDevice::SoundPackets() const {
    std::lock_guard<std::mutex> l(m_);
    return soundPackets_;
}
int SimDevice::SoundStarts() const {
    std::lock_guard<std::mutex> l(m_);
    return soundStarts_;
}
int SimDevice::FillerBytes() const {
    std::lock_guard<std::mutex> l(m_);
    return filler_;
}
QList<QByteArray> SimDevice::ServiceCommands() const {
    std::lock_guard<std::mutex> l(m_);
    return service_;
}
bool SimDevice::ProgrammingDone() const {
    std::lock_guard<std::mutex> l(m_);
    return programmingDone_;
}
bool SimDevice::ReadDone() const {
    std::lock_guard<std::mutex> l(m_);
    return readDone_;
}
qint64 SimDevice::BytesSent() const {
    std::lock_guard<std::mutex> l(m_);
    return bytesSent_;
}
qint64 SimDevice::BytesReceived() const {
    std::lock_guard<std::mutex> l(m_);
    return bytesReceived_;
}
void SimDevice::ResetCounters() {
    std::lock_guard<std::mutex> l(m_);
    bytesSent_ = bytesReceived_ = 0;
}

bool SimDevice::WaitUntil(const std::function<bool()>& pred, int timeoutMs) const {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// ---------------------------------------------------------------- the wire

void SimDevice::Queue(const QByteArray& bytes) {
    const auto now = Clock::now();
    for (char c : bytes) {
        Clock::time_point at = now;
        if (paced_) {
            at = std::max(now, lastOut_) + kByteTime;
            lastOut_ = at;
        }
        out_.push_back({c, at});
    }
}

void SimDevice::QueueAfter(const QByteArray& bytes, int delayMs) {
    delayed_.append({Clock::now() + std::chrono::milliseconds(delayMs), bytes});
}

void SimDevice::Loop() {
    char buf[4096];
    for (;;) {
        Clock::time_point next = Clock::now() + std::chrono::milliseconds(50);
        int master;
        {
            std::lock_guard<std::mutex> l(m_);
            if (quit_)
                return;
            master = master_;
            if (!out_.empty())
                next = std::min(next, out_.front().at);
            if (!arriving_.empty() && !held_)
                next = std::min(next, arriving_.front().at);
            for (const Delayed& d : delayed_)
                next = std::min(next, d.at);
            if (packetDue_)
                next = std::min(next, nextPacketAt_);
        }
        auto wait = next - Clock::now();
        if (wait < std::chrono::nanoseconds(0))
            wait = std::chrono::nanoseconds(0);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timespec ts{time_t(ns / 1000000000), long(ns % 1000000000)};
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {master, POLLIN, 0}};
        const int nfds = master >= 0 ? 2 : 1;
        ::ppoll(fds, nfds_t(nfds), &ts, nullptr);
        if (fds[0].revents & POLLIN)
            while (::read(wake_[0], buf, sizeof buf) > 0) {
            }
        std::lock_guard<std::mutex> l(m_);
        if (quit_)
            return;
        const auto now = Clock::now();
        if (master_ >= 0 && nfds == 2 && (fds[1].revents & POLLIN)) {
            const ssize_t r = ::read(master_, buf, sizeof buf);
            for (ssize_t i = 0; i < r; ++i) {
                Clock::time_point at = now;
                if (paced_) {
                    at = std::max(now, lastIn_) + kByteTime;
                    lastIn_ = at;
                }
                arriving_.push_back({buf[i], at});
            }
        }
        while (!held_ && !arriving_.empty() && arriving_.front().at <= now) {
            const TimedByte tb = arriving_.front();
            arriving_.pop_front();
            ProcessByte(tb.byte, tb.at);
        }
        for (int i = 0; i < delayed_.size();) {
            if (delayed_[i].at <= now) {
                Queue(delayed_[i].bytes);
                delayed_.removeAt(i);
            } else {
                ++i;
            }
        }
        if (packetDue_ && now >= nextPacketAt_ && state_ == State::Test && !held_)
            SendTestPacket();
        QByteArray due;
        while (!out_.empty() && out_.front().at <= now) {
            due.append(out_.front().byte);
            out_.pop_front();
        }
        if (!due.isEmpty() && master_ >= 0) {
            int done = 0;
            while (done < due.size()) {
                const ssize_t w =
                    ::write(master_, due.constData() + done, size_t(due.size() - done));
                if (w > 0) {
                    done += int(w);
                } else if (w < 0 && errno == EAGAIN) {
                    pollfd p{master_, POLLOUT, 0};
                    ::poll(&p, 1, 5);
                } else {
                    break;
                }
            }
            bytesSent_ += done;
        }
    }
}

// ---------------------------------------------------------------- the device

bool SimDevice::TakeFault(Fault f, int at, int* count) {
    for (int i = 0; i < faults_.size(); ++i) {
        if (faults_[i].fault != f || faults_[i].at != at)
            continue;
        if (count)
            *count = faults_[i].count;
        faults_.removeAt(i);
        return true;
    }
    return false;
}

bool SimDevice::TakeLineFault(int at) {
    if (TakeFault(Fault::Silence, at)) {
        silent_ = true;
        state_ = State::Idle;
        return true;
    }
    if (TakeFault(Fault::HangUp, at)) {
        CloseLine();
        return true;
    }
    if (TakeFault(Fault::Garbage, at)) {
        GoSilentWith("0123456789012345678901234567890123456789");
        return true;
    }
    if (TakeFault(Fault::ShortGarbage, at)) {
        GoSilentWith("012");
        return true;
    }
    return false;
}

QByteArray SimDevice::TakeTwo() {
    if (in_.size() < 2)
        return {};
    const QByteArray two = in_.left(2);
    in_.remove(0, 2);
    return two;
}

void SimDevice::ScheduleTestPacket(Clock::time_point after) {
    packetDue_ = true;
    nextPacketAt_ = after + std::chrono::milliseconds(testIntervalMs_);
}

void SimDevice::GoSilentWith(const QByteArray& garbage) {
    Queue(garbage);
    silent_ = true;
    state_ = State::Idle;
}

void SimDevice::ProcessByte(char b, Clock::time_point at) {
    received_.append(b);
    ++bytesReceived_;
    if (b == kFiller)
        ++filler_;
    if (silent_ || state_ == State::Dead)
        return;
    in_.append(b);
    switch (state_) {
    case State::AwaitGreetingAnswer: {
        const QByteArray answer = GreetingAnswer();
        if (in_.size() < answer.size())
            return;
        if (!in_.startsWith(answer)) {
            in_.remove(0, 1);
            return;
        }
        in_.remove(0, answer.size());
        const QByteArray ready = ReadyPacket(model_, fwDate_, build_);
        Queue(ready);
        state_ = State::Idle;
        return;
    }
    case State::AwaitSection: {
        int length = sectionLength_;
        if (length < 0) {
            // A text section carries no NUL before its end (a raw flag byte
            // that is NUL follows a ':', never a '>').
            const qsizetype end = in_.indexOf(QByteArray(">\0", 2));
            length = end < 0 ? -1 : int(end) + 2;
        }
        if (length < 0 || in_.size() < length)
            return;
        answers_.append(in_.left(length));
        in_.remove(0, length);
        NextSection();
        return;
    }
    case State::AwaitFrameAck: {
        const QByteArray two = TakeTwo();
        if (two.isEmpty())
            return;
        if (two == kAck) {
            ++acks_;
            SendFrame(block_ + 1);
        } else if (two.at(0) == char(0xD7) || two.at(0) == char(0xAD)) {
            state_ = State::Idle; // the program broke the read off
            in_.clear();
        }
        return;
    }
    case State::Test: {
        const QByteArray two = TakeTwo();
        if (two.isEmpty())
            return;
        TestAnswerRecord rec;
        rec.bytes = two;
        rec.packet = testPacketNo_;
        rec.msAfterPacket = std::chrono::duration<double, std::milli>(at - lastPacketAt_).count();
        testAnswers_.append(rec);
        packetOutstanding_ = false;
        const quint8 c = quint8(two.at(0));
        if (c == 0xAD) {
            state_ = State::Idle;
            packetDue_ = false;
            in_.clear();
        } else if (c == 0x2E) {
            packetDue_ = false;
            SendKeyTable();
        } else if (c == 0x2F) {
            packetDue_ = false;
            if (TakeFault(Fault::NoKeyRequest, 1)) {
                state_ = State::Idle;
                silent_ = true;
                return;
            }
            state_ = State::AwaitKeyPack;
            in_.clear();
            Queue(Request("CRGE"));
        } else if (c == 0xD7) {
            // entering test mode again: keep the packets coming
        } else {
            Delete(c);
            ScheduleTestPacket(at);
        }
        return;
    }
    case State::AwaitKeyTableAck: {
        const QByteArray two = TakeTwo();
        if (two.isEmpty())
            return;
        if (two == kAck) {
            ++keyTableAcks_;
            state_ = State::Test;
            ScheduleTestPacket(at);
        } else if (quint8(two.at(0)) == 0xAD) {
            // Leaving test mode needs no acknowledged table first.
            state_ = State::Idle;
            packetDue_ = false;
            in_.clear();
        }
        return;
    }
    case State::AwaitKeyPack:
        if (in_.size() < kKeyPackLength)
            return;
        keyPacks_.append(in_.left(kKeyPackLength));
        StoreKeyPack(in_.left(kKeyPackLength));
        in_.remove(0, kKeyPackLength);
        if (TakeFault(Fault::NoKeyConfirm, 1)) {
            state_ = State::Idle;
            silent_ = true;
            return;
        }
        state_ = State::Test;
        if (int lateMs = 0; TakeFault(Fault::LateKeyConfirm, 1, &lateMs)) {
            QueueAfter(Request("CRGA"), lateMs);
            ScheduleTestPacket(at + std::chrono::milliseconds(lateMs));
            return;
        }
        Queue(Request("CRGA"));
        ScheduleTestPacket(at);
        return;
    case State::AwaitSoundPacket: {
        if (soundFirstPacket_) {
            if (in_.size() < kSoundHeader)
                return;
            if (in_.at(0) != 'Y') {
                in_.remove(0, 1);
                return;
            }
            quint32 size = 0;
            for (int i = 0; i < 4; ++i)
                size |= quint32(quint8(in_.at(2 + i))) << (8 * i);
            soundRemaining_ = size;
            soundPacketLength_ = kSoundHeader + int(qMin<qint64>(kSoundFirstData, size));
        } else {
            soundPacketLength_ = int(qMin<qint64>(kSoundPacketData, soundRemaining_));
        }
        if (in_.size() < soundPacketLength_)
            return;
        const QByteArray packet = in_.left(soundPacketLength_);
        in_.remove(0, soundPacketLength_);
        while (soundPackets_.size() <= soundNo_)
            soundPackets_.append(QList<QByteArray>());
        soundPackets_[soundNo_].append(packet);
        soundRemaining_ -= soundFirstPacket_ ? packet.size() - kSoundHeader : packet.size();
        soundFirstPacket_ = false;
        FinishSoundPacket();
        return;
    }
    case State::Idle:
        ProcessIdle();
        return;
    case State::Dead:
        return;
    }
}

void SimDevice::ProcessIdle() {
    while (state_ == State::Idle && !silent_ && !in_.isEmpty()) {
        const quint8 c = quint8(in_.at(0));
        const int n = int(in_.size());
        auto need = [n](int k) { return n >= k; };
        if (c == 0x5A || c == 0xD4 || c == 0xD7 || c == 0xAD || c == 0xDA || c == 0x59) {
            if (!need(2))
                return;
            in_.remove(0, 2);
            if (c == 0x5A) {
                StartProgramming();
            } else if (c == 0xD4) {
                block_ = 0;
                readDone_ = false;
                SendFrame(1);
            } else if (c == 0xD7) {
                state_ = State::Test;
                packetDue_ = true;
                nextPacketAt_ = Clock::now() + std::chrono::milliseconds(10);
            } else if (c == 0x59) {
                ++soundStarts_;
                BeginSoundRequest();
            }
            continue;
        }
        if (c == 0x78) {
            if (!need(3))
                return;
            const int sub = quint8(in_.at(1));
            int len = 3;
            if (sub == 3) {
                const int end = in_.indexOf('\0', 2);
                if (end < 0)
                    return;
                len = end + 1;
            }
            const QByteArray command = in_.left(len);
            service_.append(command);
            in_.remove(0, len);
            switch (sub) {
            case 1:
                Queue(ServiceFrame(3, {}));
                break;
            case 2:
                Queue(ServiceFrame(2, time_.isEmpty() ? QByteArray(1, '\x01')
                                                      : QByteArray(1, '\0') + time_));
                break;
            case 3:
                time_ = command.mid(2, 17); // the 17 characters before "+00"
                Queue(ServiceFrame(1, {}));
                break;
            case 4:
                Queue(ServiceFrame(4, {}));
                break;
            case 5:
                Queue(ServiceFrame(5, gsm_));
                break;
            default:
                break;
            }
            continue;
        }
        if (c == 0xA5) {
            if (!need(3))
                return;
            const bool search = in_.at(1) == '\0';
            service_.append(in_.left(3));
            in_.remove(0, 3);
            if (search) {
                therms_ = therms_.left(kThermRecord * thermCount_) + searchable_;
                thermCount_ += searchableCount_;
                searchable_.clear();
                searchableCount_ = 0;
            }
            QByteArray f(1, char(0xA6));
            f.append(char(thermCount_));
            f.append(therms_.left(kThermRecord * thermCount_));
            f.append('\0');
            Queue(f);
            continue;
        }
        if (c == 0xA6) {
            if (!need(2))
                return;
            const int count = quint8(in_.at(1));
            const int len = 3 + kThermRecord * count;
            if (!need(len))
                return;
            service_.append(in_.left(len));
            // The written list replaces identifiers and limits; a sensor keeps
            // its own temperature (a new one reads 0 until it measures).
            QByteArray kept;
            for (int k = 0; k < count; ++k) {
                const QByteArray rec = in_.mid(2 + kThermRecord * k, kThermRecord);
                QByteArray temp = FloatBytes(0);
                for (int j = 0; j < thermCount_; ++j) {
                    if (therms_.mid(kThermRecord * j, 8) == rec.left(8))
                        temp = therms_.mid(kThermRecord * j + 8, 4);
                }
                kept += rec.left(8) + temp + rec.mid(12, 8);
            }
            therms_ = kept;
            thermCount_ = count;
            in_.remove(0, len);
            Queue(Two(0xA7, 0x00));
            continue;
        }
        in_.remove(0, 1); // not a command this device knows
    }
}

void SimDevice::StartProgramming() {
    sections_ = sectionOrder_;
    if (sections_.isEmpty()) {
        sections_ = {"CRAA", "CRQQ", "CRMM", "CRHH", "CR77", "CR88", "CR99"};
        if (FwOnOrAfter(fwDate_, fw::k19_04_2012) && build_ != 0)
            sections_.append("CRFF");
    }
    sectionIndex_ = 0;
    programmingDone_ = false;
    NextSection();
}

void SimDevice::NextSection() {
    const int step = sectionIndex_ + 1;
    if (TakeLineFault(step))
        return;
    if (sectionIndex_ < sections_.size()) {
        const QByteArray name = sections_.at(sectionIndex_++);
        asked_.append(name);
        sectionLength_ = AnswerLength(name);
        Queue(Request(name));
        state_ = State::AwaitSection;
        return;
    }
    Queue(Request(programOk_ ? "CR55" : "CRZZ"));
    programmingDone_ = true;
    state_ = State::Idle;
}

void SimDevice::SendFrame(int block) {
    const Layout layout = LayoutFor(fwDate_);
    QByteArray image = image_.left(layout.length);
    while (image.size() < layout.length)
        image.append(char(0xFF));
    if (TakeLineFault(block) || TakeHold(block, [this, block] { SendFrame(block); }))
        return;
    if (TakeFault(Fault::DropFrame, block))
        ++block;
    int number = block;
    if (TakeFault(Fault::WrongBlock, block))
        number = block + 7;
    int repeats = 0;
    TakeFault(Fault::RepeatFrame, block, &repeats);
    const bool premature = TakeFault(Fault::PrematureEnd, block);
    block_ = block;
    if (block > layout.dataBlocks || premature) {
        // The end frame: block 94 in the old layout (no payload), otherwise
        // the block after the last data block, carrying the memory's last bytes.
        const int end = layout.dataBlocks + 1;
        Queue(layout.twoByteNumbers
                  ? MemoryFrame(end, image.mid(layout.dataBlocks * layout.payload), true)
                  : MemoryFrame(end, {}, false));
        ++framesSent_;
        readDone_ = true;
        state_ = State::Idle;
        return;
    }
    const QByteArray frame = MemoryFrame(
        number, image.mid((block - 1) * layout.payload, layout.payload), layout.twoByteNumbers);
    for (int i = 0; i <= repeats; ++i)
        Queue(frame);
    ++framesSent_;
    state_ = State::AwaitFrameAck;
}

void SimDevice::SendTestPacket() {
    packetDue_ = false;
    if (testPackets_.isEmpty())
        return;
    if (TakeFault(Fault::Silence, testPacketNo_ + 1)) {
        silent_ = true;
        return;
    }
    QByteArray p = testPackets_.at(testPacketNo_ % testPackets_.size());
    ++testPacketNo_;
    refuseDeletes_ = false;
    if (deletionDone_ && p.startsWith('L') && p.size() > kKeyNumberPos) {
        p[kKeyNumberPos] = kNoKeyNumber;
        deletionDone_ = false;
    }
    Queue(p);
    lastPacketAt_ = out_.empty() ? Clock::now() : out_.back().at;
    packetOutstanding_ = true;
}

void SimDevice::SendKeyTable() {
    QByteArray block = KeyTableBlock(keyBody_);
    if (TakeFault(Fault::BadKeyCheck, 1))
        block[block.size() - 1] = char(block.back() ^ 0x01);
    state_ = State::AwaitKeyTableAck;
    if (keySplit_.isEmpty()) {
        Queue(block);
        return;
    }
    int pos = 0;
    int piece = 0;
    for (int size : keySplit_) {
        if (pos >= block.size())
            break;
        if (piece == 0)
            Queue(block.mid(pos, size));
        else
            QueueAfter(block.mid(pos, size), keySplitPauseMs_ * piece);
        pos += size;
        ++piece;
    }
    if (pos < block.size())
        QueueAfter(block.mid(pos), keySplitPauseMs_ * piece);
}

void SimDevice::StoreKeyPack(const QByteArray& pack) {
    QList<KeyRow> rows;
    for (int r = 0; r < kKeyRows; ++r) {
        KeyRow row;
        QByteArray value(6, '\0');
        for (int i = 0; i < 6; ++i)
            value[5 - i] = pack[kPackSlots + 6 * r + i];
        row.key = value.toHex('-').toUpper();
        row.present = (quint8(pack[kPackPresent + r / 8]) >> (r % 8)) & 1;
        row.gbr = r < kGbrRows && ((quint8(pack[kPackGbr + r / 8]) >> (r % 8)) & 1);
        rows.append(row);
    }
    keyBody_ = KeyTableBody(rows);
}

bool SimDevice::Delete(quint8 command) {
    int first = 0;
    int last = 0;
    if (command == 0x2B) {
        last = kGbrRows - 1;
    } else if (command == 0x2C || command == 0x2D) {
        first = last = kGbrRows + (command - 0x2C);
    } else if (command >= 0x01 && command <= kGbrRows) {
        first = last = command - 1;
    } else {
        return false;
    }
    if (TakeFault(Fault::NoDeleteConfirm, 1))
        refuseDeletes_ = true;
    if (refuseDeletes_)
        return true;
    QList<KeyRow> rows = KeyRowsOf(keyBody_);
    for (int r = first; r <= last; ++r)
        rows[r] = KeyRow();
    keyBody_ = KeyTableBody(rows);
    deletionDone_ = true;
    return true;
}

void SimDevice::BeginSoundRequest() {
    soundFirstPacket_ = true;
    soundRemaining_ = 0;
    while (soundPackets_.size() <= soundNo_)
        soundPackets_.append(QList<QByteArray>());
    soundPackets_[soundNo_].clear();
    Queue(Request("CRaa?"));
    state_ = State::AwaitSoundPacket;
}

void SimDevice::FinishSoundPacket() {
    int total = 0;
    for (const auto& s : soundPackets_)
        total += int(s.size());
    if (TakeLineFault(total) || TakeHold(total, [this] { FinishSoundPacket(); }))
        return;
    if (soundRemaining_ > 0) {
        Queue(Request("CRaa?"));
        return;
    }
    // The sound is complete; a device that lost count asks for more.
    if (TakeFault(Fault::AskPastEnd, soundNo_)) {
        Queue(Request("CRaa?"));
        state_ = State::Idle;
        return;
    }
    // A rejection makes the program start it again.
    for (int i = 0; i < faults_.size(); ++i) {
        ArmedFault& f = faults_[i];
        if (f.fault == Fault::RejectSound && f.at == soundNo_) {
            if (--f.count <= 0)
                faults_.removeAt(i);
            Queue(Request("CR&&"));
            state_ = State::Idle;
            return;
        }
    }
    Queue(Request("CR--?"));
    ++soundNo_;
    state_ = State::Idle;
}
