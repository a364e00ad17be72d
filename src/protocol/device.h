#pragma once

#include <cstdint>

// The panel protocol object as the window sees it: five operations in this slot order.
class TDevice {
  public:
    virtual ~TDevice() = default;
    virtual void ReadPage() = 0;
    virtual void WritePage() = 0;
    virtual void ReadAll() = 0;
    virtual void WriteAll() = 0;
    virtual void RunOperation(std::uint8_t code) = 0;
};
