#pragma once

// Reply time-outs of the link, in milliseconds as the device's protocol needs
// them. Tests shrink every read-timer interval through SetLinkTimeScale();
// the answer delay of test mode and the polling period are not scaled.
namespace kwlink {
inline constexpr int kCommandReplyMs = 2000; // after 5A 00, D4 00, D7 00
inline constexpr int kChunkReplyMs = 4500;   // after every received chunk
inline constexpr int kNextStepMs = 2500;     // greeting answered, block accepted, test packet
inline constexpr int kSoundPacketMs = 4000;  // after each sound packet
inline constexpr int kSoundRestartMs = 2000; // a sound (re)started
inline constexpr int kGraceMs = 10000;       // after the first silent expiry
inline constexpr int kTestAnswerDelayMs = 25;
inline constexpr int kPollPeriodMs = 15;
inline constexpr int kWriteBlockSize = 64;
inline constexpr int kReadPieceSize = 256;
// The USB adapter's latency timer. At the adapters' default of 16 ms every
// frame of a memory read would wait that long inside the adapter, which
// doubles the time of a read; 1 ms keeps the exchange at the wire's pace.
inline constexpr unsigned char kUsbLatencyMs = 1;
// Every memory frame ends in a carriage return: with it as the adapter's
// event character a frame is handed over as soon as it is complete instead
// of at the end of a latency period.
inline constexpr char kUsbEventChar = '\r';

// 1.0 by default; 0.1 makes 2000 ms into 200 ms. Values below 0.001 are
// raised to it.
void SetLinkTimeScale(double scale);
double LinkTimeScale();
// The interval the read timer really runs for a protocol interval.
int ScaledMs(int ms);
} // namespace kwlink
