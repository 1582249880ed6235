#pragma once
// References to a piece of music and to a sound, used in the system record,
// the run-time state and event scripts. The name "(OFF)" means silence.

#include <cstdint>
#include <string>

#include "data/record/catalog_base_item.h"

// The name that stands for silence.
inline constexpr const char* kAudioOff = "(OFF)";

class TLcfMusic : public TCatalogBaseItem {
public:
    TLcfMusic() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    // A member copy from another music record; any other source leaves this one unchanged.
    void Assign(TCatalogBaseItem& source) override;
    bool Equals(const TLcfMusic& other) const;
    bool IsOff() const { return name == kAudioOff; }

    std::string name;      // in the folder "Music", without extension
    int32_t fadeIn = 0;    // milliseconds
    int32_t volume = 100;  // 0..100
    int32_t tempo = 100;   // percent
    int32_t balance = 50;  // 0..100, 50 centre
};

class TLcfSound : public TCatalogBaseItem {
public:
    TLcfSound() { Clear(); }
    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    void Clear() override;
    void Assign(TCatalogBaseItem& source) override;
    bool Equals(const TLcfSound& other) const;
    bool IsOff() const { return name == kAudioOff; }

    std::string name;      // in the folder "Sound", without extension
    int32_t volume = 100;
    int32_t tempo = 100;
    int32_t balance = 50;
};
