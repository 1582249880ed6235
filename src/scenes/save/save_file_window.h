#pragma once
// TLcfSaveFileWindow: one save slot in the save and load list: the file
// term with the slot number, and for a slot that holds a save the leader's
// name, level and HP with the faces of up to four members. The cursor
// frames only the title line.

#include <array>
#include <cstdint>
#include <memory>

#include "media/sheet/sheet.h"
#include "scenes/windows/window.h"

class TLcfSaveFileWindow : public TLcfWindow {
public:
    static constexpr int kFaces = 4;
    static constexpr int32_t kFaceSize = 48;

    TLcfSaveFileWindow();

    // Reads the slot's header and draws it. An unreadable header shows as
    // an empty slot; in load mode an empty slot's title is greyed.
    void RefreshSlot(int slot, bool saveMode);
    // The window at y on the screen, then its faces.
    void DrawAt(int32_t y);

    int Slot() const { return slot_; }
    // When the slot was saved (0: empty or unreadable).
    double SaveTime() const { return saveTime_; }
    bool HoldsSave() const { return saveTime_ > 0; }
    TSorvoSheet& Face(int i) { return *faces_[size_t(i)]; }

private:
    void LoadFace(int i, const std::string& name, int32_t index);

    int slot_ = 0;
    double saveTime_ = 0;
    std::array<std::unique_ptr<TSorvoSheet>, kFaces> faces_;
};
