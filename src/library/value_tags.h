// The one-byte tags that open every value of a library data file.
// Shared by TReader and TWriter; nothing else needs them.
#pragma once
#include <cstdint>

namespace tavio::value_tag {

constexpr uint8_t kInt8 = 0x02;
constexpr uint8_t kInt16 = 0x03;
constexpr uint8_t kInt32 = 0x04;
constexpr uint8_t kString = 0x06;      // 1-byte length, code-page bytes
constexpr uint8_t kLString = 0x0C;     // 4-byte length, code-page bytes
constexpr uint8_t kWString = 0x12;     // 4-byte length in UTF-16 units; read only
constexpr uint8_t kUtf8String = 0x14;  // 4-byte length in bytes

}  // namespace tavio::value_tag
