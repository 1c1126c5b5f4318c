#pragma once
// TQV_RS_Base: owns one COM port: finds which of COM1 to COM32 exist, keeps
// the current one, opens and configures it, and lets the user choose it.

#include <array>
#include <cstdint>
#include <memory>

#include "link/link_environment.h"
#include "link/qv_bi.h"

namespace vortaboot::link {

class TQV_RS_Base : public TQVBaseInterface {
 public:
  static constexpr int kPortCount = 32;
  static constexpr std::size_t kQueueSize = 1048576;

  explicit TQV_RS_Base(const LinkEnvironment& environment);
  ~TQV_RS_Base() override;

  // Entry n (1 to 32) is true when COMn was found by the last ScanPorts.
  std::array<bool, kPortCount + 1> PortAvailable{};
  // n of the current port COMn; 0 when there is none.
  std::int32_t PortNumber = 0;
  // The open port; empty while closed.
  std::unique_ptr<platform::SerialPort> PortHandle;
  std::uint32_t BaudRate = 115200;
  std::uint8_t ByteSize = 8;
  std::uint8_t Parity = 0;    // 0: none
  std::uint8_t StopBits = 2;  // 2: two stop bits

  bool PortExists(int n);
  int ScanPorts();
  int FirstAvailablePort() const;
  void OpenPort(int n);
  virtual void SelectPort();
  virtual void ClosePort();
  void SetPortOpen(bool open);
  void SetBaudRate(std::uint32_t rate);
  void SetByteSize(std::uint8_t value);
  void SetParity(std::uint8_t value);
  void SetStopBits(std::uint8_t value);
  void SetDTR();
  void SetRTS();
  void ClearRTS();

  void LoadFromIni(platform::IniFile& file) override;
  void SaveToIni(platform::IniFile& file) override;

 protected:
  LinkEnvironment environment_;

 private:
  template <typename Change>
  void changeLineState(Change change);
  void setModemLine(platform::ModemLine line, bool on);
  int chooseFromAvailablePorts();
};

}  // namespace vortaboot::link
