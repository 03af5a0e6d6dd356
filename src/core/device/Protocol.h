#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/DeviceImage.h"

namespace vem {

// The device's lock-step protocol: 15-byte command words (ESC and 14 ASCII characters),
// 64-byte blocks, and ESC ACK to accept a command or block.
constexpr std::uint8_t Esc = 0x1B;
constexpr std::uint8_t Ack = 0x06;
constexpr std::size_t CommandWordSize = 15;
constexpr std::size_t BlockSize = 64;
constexpr int ReplyTimeoutMs = 2000;
// A read ends only once the line has stayed quiet this long after its last block (a byte more
// fails it); the device information is shown then.
constexpr int LastBlockQuietMs = 200;
constexpr int FlushWaitMs = 10;
constexpr int CloseDelayMs = 1000;

namespace Command {
inline constexpr std::string_view Program = "QORZETAPROMxxx";
inline constexpr std::string_view ProgramHeader = "QORZETAEEPRxxx";
inline constexpr std::string_view ProgramScreen = "QORMASKxxxxxxx";
inline constexpr std::string_view ReadMain = "PROMREADqorxxx";
inline constexpr std::string_view ReadHeader = "EEPROMREADxxxx";
inline constexpr std::string_view ReadScreen = "FLASHREADqorxx";
inline constexpr std::string_view SetClock = "TIMEQORxxxxxxx";
inline constexpr std::string_view Video = "QORFLASHVIDEOx";
inline constexpr std::string_view Font = "QORFLASHFONTxx";
inline constexpr std::string_view Firmware = "QORFLASHFIRMxx";
inline constexpr std::string_view Fuses = "FUSESETQORxxxx";
}  // namespace Command

// The bytes of a command word: ESC, then its 14 characters.
std::vector<std::uint8_t> commandWord(std::string_view word);
inline std::vector<std::uint8_t> escAck() { return {Esc, Ack}; }
// True when a reply starts with ESC ACK.
bool isEscAck(const std::vector<std::uint8_t>& reply);

constexpr int ProgramBlocks = 268;   // 256 main, 2 header, 10 screen
constexpr int ReadBackBlocks = 269;  // the same, and one trailing block
constexpr int MainBlocks = 256;
constexpr std::size_t FontSize = 3584;       // 56 blocks
constexpr std::size_t FirmwareSize = 32768;  // 512 blocks; a file fills it from the start
constexpr int HeaderBlocks = 2;

}  // namespace vem
