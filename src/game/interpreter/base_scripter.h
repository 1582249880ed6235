#pragma once
// The event interpreter shared by the map interpreter, the parallel
// processes of map and common events, and the battle interpreter: a call
// stack of frames, the waits of the running script, and the executor that
// runs one line through the dispatch table.

#include <cstdint>
#include <memory>

#include "data/record/catalog_base_item.h"
#include "game/interpreter/branch_target.h"
#include "game/interpreter/interpreter_hooks.h"
#include "game/interpreter/script_data.h"

class TLcfgBaseScripter : public TCatalogBaseItem {
public:
    // More frames than this on the stack and a call raises "Event call stack
    // overflow." (so 1001 frames can exist).
    static constexpr int kMaxDepth = 1000;
    // Commands run by one interpreter in one frame at most.
    static constexpr int kStepsPerFrame = 10000;
    // Chunk holding the full key-input variable id (chunk 22 keeps only its
    // low 8 bits, for older readers).
    static constexpr int kKeyVariableFullChunk = 29;

    TLcfgBaseScripter();
    ~TLcfgBaseScripter() override;
    TLcfgBaseScripter(const TLcfgBaseScripter&) = delete;
    TLcfgBaseScripter& operator=(const TLcfgBaseScripter&) = delete;

    void DescribeField(int id, TCatalogVarData& d, bool reading) override;
    // Empties the stack and zeroes every wait and key flag.
    void Clear() override;
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    // Pops the current frame and clears all waits (see the .cpp).
    virtual void EndScript();

    // Clear, then one frame with a copy of the script.
    void Start(int32_t eventId, const TLcfEventScriptList& script, bool startedByKey = false);
    bool IsRunning() const { return frames.Count() > 0; }
    bool IsWaiting() const { return waitCounter > 0; }
    // Pushes a copy of the script after the depth check.
    TLcfgScriptData& CallScript(const TLcfEventScriptList& script, int32_t eventId, bool startedByKey = false);
    // Pushes the database common event `id` (event id 0) after the depth check.
    void StartCommonEvent(int32_t id);

    // Runs at most one line; false when the script waits (the caller stops
    // for this frame).
    bool ExecuteCommand();

    // --- Helpers for the command handlers -------------------------------------
    TLcfgScriptData* CurrentFrame() const { return frames.CurrentFrame(); }
    // Moves the frame's line index to the next line of `line`'s indent (the
    // next case, else or end line of its block), or to the end of the list.
    static void SkipToIndent(TLcfgScriptData& frame, const TLcfEventScriptLine& line);
    // A case line of a block: runs its body (marking the block done with
    // 255) when the branch byte of its indent equals `value`, else skips.
    static void RunCase(TLcfgScriptData& frame, const TLcfEventScriptLine& line, uint8_t value);
    // The key code of the enabled groups (1-7, 10-24; 0 for none) from the
    // newly pressed buttons (`edge`) or the held ones.
    int32_t DecodeKey(bool edge) const;
    // 10001 party, 10002-10004 vehicles, 10005 the current frame's event,
    // else a map event of the current map (message 65281 when missing).
    // Null without a map world.
    TLcfgCharacter* ResolveCharacter(const TLcfgScriptData& frame, int32_t reference) const;
    // The branch byte of `indent` in `frame`, as a scene's result target.
    TLcfgBranchTarget TargetOf(const TLcfgScriptData& frame, int32_t indent) {
        return TLcfgBranchTarget(*this, frame, indent);
    }
    // The frame with that serial, or nullptr (for result targets).
    TLcfgScriptData* FindFrame(uint64_t serial) const;
    const std::shared_ptr<TLcfgBaseScripter*>& AliveToken() const { return alive_; }

    // Clears the waits (message, movement, key, any key, measuring, counters).
    void ClearWaits();

    // --- State (chunks in brackets) -----------------------------------------------
    TLcfgScriptDataList frames;       // [1]
    uint8_t waitingForMessage = 0;    // [4]
    uint8_t battleResultCheck = 0;    // [11] end the script when the battle is escaped
    TLcfgBranchTarget battleResult;   // not saved: where the battle writes its end kind
    uint8_t waitingForMovement = 0;   // [13]
    uint8_t waitingForKey = 0;        // [21]
    int32_t keyVariable = 0;          // [22] low 8 bits, [29] in full
    uint8_t acceptDirections = 0;     // [23]
    uint8_t acceptDecision = 0;       // [24]
    uint8_t acceptCancel = 0;         // [25]
    uint8_t acceptDigits = 0;         // [26]
    uint8_t acceptArithmetic = 0;     // [27]
    uint8_t acceptShift = 0;          // [28]
    int32_t waitCounter = 0;          // [31] frames
    int32_t timeVariable = 0;         // [32]
    uint8_t acceptDown = 0, acceptLeft = 0, acceptRight = 0, acceptUp = 0;  // [35-38]
    uint8_t measureTime = 0;          // [41]
    uint8_t waitingForAnyKey = 0;     // [42]
    int32_t timeCounter = 0;          // not saved: frames while measuring

protected:
    TLcfgInterpreterHooks& Hooks() const { return GameInterpreterHooks; }
    bool MessageWindowVisible() const;

private:
    void CheckDepth() const;

    uint8_t keyVariableLow_ = 0;
    int32_t keyVariableFull_ = 0;
    std::shared_ptr<TLcfgBaseScripter*> alive_;
};
