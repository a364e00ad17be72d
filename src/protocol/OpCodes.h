#pragma once

#include <cstdint>

// Operation codes the main window hands the worker; no other code is ever set.
enum TOpCode : std::uint8_t {
    OpIdle = 0,
    OpConnect = 1,
    OpReadPage = 3,
    OpWritePage = 4,
    OpReadAll = 5,
    OpWriteAll = 6,
    OpHistoryBack = 8,
    OpHistoryForward = 11,
    OpReadHistory = 12,
    OpStartPanel = 13,
    OpStopPanel = 16,
    OpEraseHistory = 17,
    OpReboot = 19,
    OpLampTest = 20,
    OpWriteTexts = 21,
};
