#pragma once
// Where a scene (battle, shop, inn) or the message window's choices report
// their outcome: the branch byte of one indent in one frame of one
// interpreter. The target names them instead of pointing into the frame's
// bytes, so that a frame popped (F10, the end of the script), an
// interpreter destroyed (a map change) or a byte vector that grew can never
// be written through a stale pointer: each access finds the frame again and
// does nothing when it is gone.

#include <cstdint>
#include <memory>
#include <optional>

class TLcfgBaseScripter;
class TLcfgScriptData;

class TLcfgBranchTarget {
public:
    TLcfgBranchTarget() = default;
    // The branch byte of `indent` in `frame` of `scripter`.
    TLcfgBranchTarget(TLcfgBaseScripter& scripter, const TLcfgScriptData& frame, int32_t indent);

    bool IsSet() const { return serial_ != 0; }
    void Reset() { *this = TLcfgBranchTarget(); }
    // Writes the byte when the frame still exists; false otherwise.
    bool Write(uint8_t value) const;
    // The byte, or nothing when the frame is gone.
    std::optional<uint8_t> Read() const;

private:
    TLcfgScriptData* Frame() const;

    std::weak_ptr<TLcfgBaseScripter*> scripter_;
    uint64_t serial_ = 0;
    int32_t indent_ = 0;
};
