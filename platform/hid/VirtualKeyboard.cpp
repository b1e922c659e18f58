#include "platform/hid/VirtualKeyboard.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace tarnwick {
namespace {

constexpr std::uint8_t kCommandReport = 0x0A;
constexpr std::uint8_t kKeyMapReport = 0x0B;
constexpr std::uint8_t kMacroReport = 0x0C;
constexpr std::uint8_t kCommandRefresh = 0x03;
constexpr std::uint8_t kCommandKeyMap = 0x04;
constexpr std::uint8_t kCommandMacro = 0x05;
constexpr std::uint8_t kCommandLighting = 0x0A;
constexpr std::uint8_t kCommandSleep = 0x90;
constexpr std::size_t kChunkPayload = 6;

constexpr std::uint16_t kCommandPage = 0xFF01;
constexpr std::uint16_t kKeyMapPage = 0xFF02;
constexpr std::uint16_t kMacroPage = 0xFF03;

// The keyboard's interfaces; the last one carries its input reports.
constexpr HidInterfaceInfo kInterfaces[] = {
    {1, kKeyboardVendorId, kKeyboardProductId, 0xFF01, 2, kVirtualFirmwareVersion},
    {2, kKeyboardVendorId, kKeyboardProductId, 0xFF02, 3, kVirtualFirmwareVersion},
    {3, kKeyboardVendorId, kKeyboardProductId, 0xFF03, 4, kVirtualFirmwareVersion},
    {4, kKeyboardVendorId, kKeyboardProductId, 0xFF04, 5, kVirtualFirmwareVersion},
};
constexpr std::uint32_t kEventInterfaceId = 4;

// Input report shapes: report 8 carries keys and slot changes, the lighting keys use
// report 4 (effect) and report 5 (colour mode, brightness).
constexpr std::uint8_t kKeyReport = 0x08;
constexpr std::uint8_t kSlotEvent = 0xDA;
constexpr std::uint8_t kEffectReport = 0x04;
constexpr std::uint8_t kLightingReport = 0x05;
constexpr std::size_t kInputReportBytes = 9;

std::uint64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(ts.tv_nsec);
}

const HidInterfaceInfo* FindInterface(std::uint32_t deviceId) {
  for (const HidInterfaceInfo& info : kInterfaces) {
    if (info.deviceId == deviceId) return &info;
  }
  return nullptr;
}

void AppendHex(std::string& out, std::span<const std::uint8_t> bytes) {
  char buffer[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, i == 0 ? "%02X" : " %02X", bytes[i]);
    out += buffer;
  }
}

}  // namespace

VirtualKeyboard::VirtualKeyboard() = default;

std::span<const HidInterfaceInfo> VirtualKeyboard::Interfaces() { return kInterfaces; }

void VirtualKeyboard::Attach(HidBackendListener* listener) {
  std::lock_guard listenerLock(m_listenerMutex);
  m_listener = listener;
}

void VirtualKeyboard::Plug() {
  {
    std::lock_guard lock(m_mutex);
    if (m_state.plugged) return;
    m_state.plugged = true;
  }
  std::lock_guard listenerLock(m_listenerMutex);
  if (!m_listener) return;
  for (const HidInterfaceInfo& info : kInterfaces) {
    if (m_listener->Wants(info)) m_listener->InterfaceOpened(info);
  }
}

void VirtualKeyboard::Unplug() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_state.plugged) return;
    m_state.plugged = false;
    m_upload = Upload::kNone;
  }
  std::lock_guard listenerLock(m_listenerMutex);
  if (!m_listener) return;
  for (const HidInterfaceInfo& info : kInterfaces) m_listener->InterfaceClosed(info.deviceId);
}

bool VirtualKeyboard::IsPlugged() const {
  std::lock_guard lock(m_mutex);
  return m_state.plugged;
}

WriteResult VirtualKeyboard::Receive(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  std::lock_guard lock(m_mutex);
  if (!m_state.plugged) return WriteResult::kDeviceGone;
  const HidInterfaceInfo* target = FindInterface(deviceId);
  LoggedReport entry;
  entry.timeNs = NowNs();
  entry.deviceId = deviceId;
  entry.usagePage = target ? target->usagePage : 0;
  entry.length = report.size();
  std::copy_n(report.begin(), std::min(report.size(), entry.bytes.size()), entry.bytes.begin());
  m_log.push_back(entry);
  if (!target || report.size() != entry.bytes.size()) return WriteResult::kFailed;
  Decode(target->usagePage, std::span<const std::uint8_t, 8>(entry.bytes));
  return WriteResult::kWritten;
}

void VirtualKeyboard::Decode(std::uint16_t usagePage, std::span<const std::uint8_t, 8> report) {
  if (usagePage == kCommandPage && report[0] == kCommandReport) {
    DecodeCommand(report);
  } else if (usagePage == kKeyMapPage && report[0] == kKeyMapReport) {
    DecodeChunk(Upload::kKeyMap, report);
  } else if (usagePage == kMacroPage && report[0] == kMacroReport) {
    DecodeChunk(Upload::kMacro, report);
  }
}

void VirtualKeyboard::DecodeCommand(std::span<const std::uint8_t, 8> report) {
  m_upload = Upload::kNone;
  switch (report[1]) {
    case kCommandSleep:
      m_state.sleepEnabled = report[2];
      break;
    case kCommandRefresh:
      ++m_state.refreshCount;
      break;
    case kCommandLighting:
      m_state.lighting = VirtualLighting{report[2], report[3], report[4], report[5]};
      break;
    case kCommandKeyMap:
      m_upload = Upload::kKeyMap;
      m_uploadBytes.assign(kKeyMapChunks * kChunkPayload, 0);
      m_nextChunk = 1;
      break;
    case kCommandMacro:
      // Positions are sent counted from 1.
      if (report[3] == 0) break;
      m_upload = Upload::kMacro;
      m_uploadPosition = static_cast<std::uint8_t>(report[3] - 1);
      m_uploadBytes.assign(kMacroChunks * kChunkPayload, 0);
      m_nextChunk = 1;
      break;
    default:
      break;
  }
}

void VirtualKeyboard::DecodeChunk(Upload kind, std::span<const std::uint8_t, 8> report) {
  // A chunk out of sequence abandons the upload, as a keyboard would drop a torn transfer.
  if (m_upload != kind || report[1] != m_nextChunk) {
    m_upload = Upload::kNone;
    return;
  }
  std::copy_n(report.begin() + 2, kChunkPayload,
              m_uploadBytes.begin() + (m_nextChunk - 1) * kChunkPayload);
  const std::size_t lastChunk = kind == Upload::kKeyMap ? kKeyMapChunks : kMacroChunks;
  if (m_nextChunk++ < lastChunk) return;
  if (kind == Upload::kKeyMap) {
    std::array<std::uint8_t, kKeyMapBytes> keyMap{};
    std::copy_n(m_uploadBytes.begin(), kKeyMapBytes, keyMap.begin());
    m_state.keyMap = keyMap;
  } else {
    std::array<std::uint8_t, kMacroBlockBytes> block{};
    std::copy_n(m_uploadBytes.begin(), kMacroBlockBytes, block.begin());
    m_state.macros[m_uploadPosition] = block;
  }
  m_upload = Upload::kNone;
}

bool VirtualKeyboard::SendOn(std::uint32_t deviceId, std::span<const std::uint8_t> report) {
  if (!IsPlugged()) return false;
  std::lock_guard listenerLock(m_listenerMutex);
  if (m_listener) m_listener->InputReport(deviceId, report);
  return true;
}

bool VirtualKeyboard::PressKey(std::uint8_t position, bool pressed) {
  std::uint8_t keyByte = 0;
  {
    std::lock_guard lock(m_mutex);
    if (m_state.keyMap && position < kKeyMapBytes) keyByte = (*m_state.keyMap)[position];
  }
  const std::uint8_t report[kInputReportBytes] = {
      kKeyReport, position, pressed ? std::uint8_t{1} : std::uint8_t{0}, keyByte};
  return SendOn(kEventInterfaceId, report);
}

bool VirtualKeyboard::SwitchProfile(std::uint8_t slot) {
  const std::uint8_t report[kInputReportBytes] = {kKeyReport, kSlotEvent, 1, slot};
  return SendOn(kEventInterfaceId, report);
}

bool VirtualKeyboard::ChangeEffect(std::uint8_t effect) {
  const std::uint8_t report[kInputReportBytes] = {kEffectReport, 0xE1, 0x08, effect};
  return SendOn(kEventInterfaceId, report);
}

bool VirtualKeyboard::ChangeColorMode(std::uint8_t colorMode) {
  const std::uint8_t report[kInputReportBytes] = {kLightingReport, 0x02, 0x0C, colorMode};
  return SendOn(kEventInterfaceId, report);
}

bool VirtualKeyboard::ChangeBrightness(std::uint8_t brightness) {
  const std::uint8_t report[kInputReportBytes] = {kLightingReport, 0x00, 0x01, 0x07, brightness};
  return SendOn(kEventInterfaceId, report);
}

bool VirtualKeyboard::SendInputReport(std::span<const std::uint8_t> report) {
  return SendOn(kEventInterfaceId, report);
}

VirtualKeyboardState VirtualKeyboard::State() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}

std::vector<LoggedReport> VirtualKeyboard::Log() const {
  std::lock_guard lock(m_mutex);
  return m_log;
}

void VirtualKeyboard::ClearLog() {
  std::lock_guard lock(m_mutex);
  m_log.clear();
}

std::string DescribeState(const VirtualKeyboardState& state) {
  std::string out = state.plugged ? "plugged: yes\n" : "plugged: no\n";
  char line[160];
  if (state.sleepEnabled) {
    std::snprintf(line, sizeof line, "sleep: %s\n", *state.sleepEnabled ? "on" : "off");
    out += line;
  }
  std::snprintf(line, sizeof line, "refreshes: %u\n", state.refreshCount);
  out += line;
  if (state.lighting) {
    std::snprintf(line, sizeof line,
                  "lighting: effect code %u, brightness %u, speed %u, colour option %u\n",
                  state.lighting->effectCode, state.lighting->brightness, state.lighting->speed,
                  state.lighting->colorOption);
    out += line;
  }
  if (state.keyMap) {
    out += "key map:";
    for (std::size_t row = 0; row < kKeyMapBytes; row += 14) {
      out += "\n  ";
      AppendHex(
          out,
          std::span(*state.keyMap).subspan(row, std::min<std::size_t>(14, kKeyMapBytes - row)));
    }
    out += "\n";
  }
  for (const auto& [position, block] : state.macros) {
    std::snprintf(line, sizeof line, "macro at position %u: repeat %u, events:", position,
                  (block[0] << 8) | block[1]);
    out += line;
    for (std::size_t offset = 2; offset + 3 <= block.size(); offset += 3) {
      if (block[offset] == 0 && block[offset + 1] == 0 && block[offset + 2] == 0) continue;
      out += " ";
      AppendHex(out, std::span(block).subspan(offset, 3));
    }
    out += "\n";
  }
  return out;
}

std::string DescribeLog(std::span<const LoggedReport> log) {
  std::string out;
  char line[96];
  const std::uint64_t start = log.empty() ? 0 : log.front().timeNs;
  for (const LoggedReport& entry : log) {
    std::snprintf(line, sizeof line, "%10.3f ms  id %u page %04X  ",
                  static_cast<double>(entry.timeNs - start) / 1e6, entry.deviceId, entry.usagePage);
    out += line;
    AppendHex(out, std::span(entry.bytes).first(std::min(entry.length, entry.bytes.size())));
    out += "\n";
  }
  return out;
}

}  // namespace tarnwick
