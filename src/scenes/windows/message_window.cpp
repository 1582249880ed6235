#include "scenes/windows/message_window.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "data/errors.h"
#include "game/actors/player.h"
#include "game/actors/player_item.h"
#include "game/party/party_info.h"
#include "game/system/game_system.h"
#include "graphics/system_graphic.h"
#include "media/input/multi_input.h"
#include "media/screen/sorvo_draw.h"
#include "platform/code_page.h"
#include "scenes/scene.h"
#include "scenes/system_sounds.h"

TLcfMessageWindow* GameMessageWindow = nullptr;
TLcfMessagePool* GameMessagePool = nullptr;

namespace {

bool Lead(const std::string& s, size_t i) { return i < s.size() && platform::IsLeadByte(uint8_t(s[i])); }

bool NewlyPressed(int button) { return GameInput && GameInput->IsPressed(button); }

uint8_t Scene() { return GameSystem ? GameSystem->scene : uint8_t(kSceneField); }

// A whole decimal integer with an optional sign, within 32 bits.
bool ParseDecimal(const std::string& s, int32_t& out) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i >= s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > int64_t(INT32_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = int32_t(v);
    return true;
}

std::string ActorName(int32_t id) {
    if (id == 0) {
        if (!GamePartyInfo || GamePartyInfo->MemberCount() == 0) return {};
        id = GamePartyInfo->MemberId(0);
    }
    if (!GamePlayers || id <= 0) return {};
    TLcfgPlayerItem* actor = GamePlayers->Find(id);
    return actor ? actor->GetName() : std::string();
}

}  // namespace

TLcfMessageWindow::TLcfMessageWindow() {
    if (GameSystem) position = GameSystem->messagePosition;
}

int32_t TLcfMessageWindow::ParseBracket(const std::string& line, size_t& pos) const {
    if (pos >= line.size() || line[pos] != '[') return -1;
    ++pos;
    std::string collected;
    int32_t result = -1;
    while (pos < line.size() && line[pos] != ']') {
        collected += line[pos++];
        int32_t v;
        if (ParseDecimal(collected, v)) result = v;
    }
    if (pos < line.size()) ++pos;
    return result;
}

void TLcfMessageWindow::Clear() {
    lines_.clear();
    columns = 1;
    columnWidth = width_;
    itemCount_ = 0;
    leftMargin = 14;
    itemWidth = width_ - 28;
    currentLine_ = 0;
    charPos_ = 0;
    xOffset_ = 0;
    color_ = 0;
    speed_ = 1;
    wait_ = 0;
    waitForKey_ = closeWithoutKey_ = instant_ = lineStarted_ = false;
    cancelChoice = 0;
    resultTarget.Reset();
    digitCount = numberVariable = 0;
    digits_.clear();
    innCheck = false;
    innPrice = 0;
    choiceCount_ = 0;
}

void TLcfMessageWindow::Open() {
    columns = 1;
    if (Scene() != kSceneField) {
        position = 0;
        Setup(0, 0, 320, 80, false);
    } else {
        position = GameSystem ? std::clamp<int32_t>(GameSystem->messagePosition, 0, 2) : 2;
        if (GameSystem && GameSystem->messageAvoidsParty) {
            int32_t px = 160, py = 120;
            if (TLcfScene::PartyScreenPosition) TLcfScene::PartyScreenPosition(px, py);
            if (position == 1)
                position = py >= 120 ? 0 : 2;
            else if (py <= 112)
                position = 2;
            else if (py > 151)
                position = 0;
        }
        Setup(0, position * 80, 320, 80, !alreadyOpen);
        alreadyOpen = true;
        if (noBackground) {
            window_->FillRect(window_->GetBoundsRect(), 0);
            clean_->FillRect(clean_->GetBoundsRect(), 0);
        }
    }
    Clear();
}

void TLcfMessageWindow::SetupBattleLine() {
    position = 0;
    columns = 1;
    Setup(0, 0, 320, 32, false);
    Clear();
    speed_ = 0;
}

void TLcfMessageWindow::AddLine(const std::string& text) {
    if (LineCount() >= kMaxLines) return;
    if (lines_.empty() && text.size() >= 2 && text[0] == '\\' && text[1] == '$') ShowGold();
    // Variables and the narrow blank first, then names, so a name is never
    // read as codes.
    std::string first;
    for (size_t i = 0; i < text.size();) {
        if (Lead(text, i)) {
            first.append(text, i, std::min<size_t>(2, text.size() - i));
            i += 2;
        } else if (text[i] == '\\' && i + 1 < text.size() && !Lead(text, i + 1)) {
            char c = text[i + 1];
            if (c == 'v' || c == 'V') {
                size_t pos = i + 2;
                int32_t id = ParseBracket(text, pos);
                first += std::to_string(GameSystem ? GameSystem->GetVariable(id) : 0);
                i = pos;
            } else if (c == '_') {
                first += '\x01';
                i += 2;
            } else {
                first.append(text, i, 2);
                i += 2;
            }
        } else {
            first += text[i++];
        }
    }
    std::string out;
    for (size_t i = 0; i < first.size();) {
        if (Lead(first, i)) {
            out.append(first, i, std::min<size_t>(2, first.size() - i));
            i += 2;
        } else if (first[i] == '\\' && i + 1 < first.size() && (first[i + 1] == 'n' || first[i + 1] == 'N')) {
            size_t pos = i + 2;
            int32_t id = ParseBracket(first, pos);
            out += ActorName(id);
            i = pos;
        } else if (first[i] == '\\' && i + 1 < first.size() && !Lead(first, i + 1)) {
            out.append(first, i, 2);
            i += 2;
        } else {
            out += first[i++];
        }
    }
    lines_.push_back(out);
}

void TLcfMessageWindow::AddChoice(const std::string& text) {
    // Choices that would not fit under the lines held are dropped, so the
    // cursor never points past the box.
    if (LineCount() >= kMaxLines) return;
    if (choiceCount_ == 0) topMargin = LineCount() * 16 + 8;
    AddLine("  " + text);
    ++choiceCount_;
}

void TLcfMessageWindow::ShowGold() {
    if (Scene() != kSceneField) return;
    if (gold_.IsVisible() && !gold_.IsClosing()) return;
    int32_t y = position == 0 ? 208 : 0;
    if (gold_.IsClosing()) {
        gold_.CloseNow();
        gold_.Setup(232, y, 88, 32, false);
    } else {
        gold_.Setup(232, y, 88, 32, true);
    }
    gold_.Refresh();
}

void TLcfMessageWindow::Close() {
    gold_.Close();
    TLcfWindow::Close();
    if (Scene() == kSceneBattle) CloseNow();
}

void TLcfMessageWindow::CloseNow() {
    lines_.clear();
    gold_.CloseNow();
    alreadyOpen = false;
    TLcfWindow::CloseNow();
}

bool TLcfMessageWindow::FaceShown() const {
    if (!GameSystem || !GameSystem->HasFace()) return false;
    TSorvoSheet* face = GameSystem->FaceSheet();
    return face && face->Width() > 0;
}

bool TLcfMessageWindow::FaceLeft() const { return GameSystem && GameSystem->faceRight == 0; }

int64_t TLcfMessageWindow::NumberValue() const {
    int64_t v = 0;
    for (int32_t d : digits_) v = v * 10 + d;
    return v;
}


void TLcfMessageWindow::Update() {
    TLcfWindow::Update();
    gold_.Update();
    if (!TLcfWindow::IsVisible() || closeStep_ != 0 || openStep_ != kOpenSteps) return;
    if (wait_ > 0) {
        --wait_;
        return;
    }
    if (waitForKey_) {
        if (!NewlyPressed(TMultiInput::kDecision) && !NewlyPressed(TMultiInput::kCancel)) return;
        waitForKey_ = false;
    }
    bool face = FaceShown();
    const int32_t limit = face ? 226 : 298;
    const int32_t originX = face && FaceLeft() ? 80 : 8;
    while (currentLine_ < LineCount()) {
        if (!lineStarted_) {
            instant_ = testPlay && GameInput && GameInput->IsHeld(TMultiInput::kShift);
            lineStarted_ = true;
        }
        const std::string& line = lines_[size_t(currentLine_)];
        size_t stepBytes = 0;
        if (charPos_ < line.size() && line[charPos_] == '\\' && charPos_ + 1 < line.size() &&
            !Lead(line, charPos_ + 1)) {
            char c = char(std::tolower(uint8_t(line[charPos_ + 1])));
            size_t pos = charPos_ + 2;
            bool goesOn = false;
            switch (c) {
                case 'c': {
                    int32_t n = ParseBracket(line, pos);
                    if (n >= 0 && n < 20) color_ = n;
                    goesOn = true;
                    break;
                }
                case 's':
                    speed_ = std::clamp<int32_t>(ParseBracket(line, pos), 1, 20);
                    goesOn = true;
                    break;
                case '\\':
                    if (xOffset_ <= limit) DrawText(xOffset_ + originX, currentLine_ * 16 + 8, "\\", color_);
                    xOffset_ += 6;
                    goesOn = true;
                    break;
                case '!': waitForKey_ = true; frameCounter_ = 0; break;
                case '$': ShowGold(); break;
                case '.': if (!instant_) wait_ = 15; break;
                case '|': if (!instant_) wait_ = 60; break;
                case '>': instant_ = true; break;
                case '<': instant_ = false; break;
                case '^': closeWithoutKey_ = true; break;
                default: break;
            }
            charPos_ = pos;
            // The pause for a key takes the speed's wait too: a key only
            // counts once that has run out.
            if (!goesOn && !instant_) {
                wait_ = std::max(wait_, speed_ - 1);
                return;
            }
            if (waitForKey_) return;
            if (charPos_ < line.size()) continue;
        } else if (charPos_ < line.size()) {
            size_t n = 1;
            if (Lead(line, charPos_)) {
                n = charPos_ + 1 < line.size() ? 2 : 1;
            } else if (charPos_ + 1 < line.size()) {
                char b0 = line[charPos_], b1 = line[charPos_ + 1];
                if (Lead(line, charPos_ + 1) || b1 == '\\')
                    n = 1;
                else if (b1 == '$')
                    n = b0 == '$' ? 2 : 1;
                else if (speed_ > 1 && b0 != '$')
                    n = 1;
                else
                    n = 2;
            }
            std::string step = line.substr(charPos_, n);
            if (xOffset_ <= limit) DrawText(xOffset_ + originX, currentLine_ * 16 + 8, step, color_);
            if (step == "$$")
                xOffset_ += 6;
            else
                for (char b : step) xOffset_ += b == '\x01' ? 3 : 6;
            charPos_ += n;
            stepBytes = n;
        }
        if (charPos_ >= line.size()) {
            charPos_ = 0;
            xOffset_ = 0;
            ++currentLine_;
            lineStarted_ = false;
        }
        if (currentLine_ < LineCount()) {
            if (instant_) continue;
            // The battle box's speed 0 types like speed 1.
            if (speed_ >= 2) wait_ = std::max<int32_t>(wait_, int32_t(stepBytes) * speed_ / 2);
            return;
        }
        // The last line is done.
        frameCounter_ = 0;
        if (choiceCount_ > 0) {
            itemCount_ = choiceCount_;
            if (face) {
                itemWidth = width_ - 100;
                leftMargin = FaceLeft() ? 86 : 14;
            }
            SetActive(true);
        }
        wait_ = 1;
        return;
    }
    HandleAnswer();
}

void TLcfMessageWindow::HandleAnswer() {
    if (!active_ && digitCount > 0) {
        int n = std::clamp(digitCount, 1, kMaxDigits);
        columns = n;
        itemCount_ = n;
        leftMargin = FaceShown() && FaceLeft() ? 92 : 20;
        topMargin = LineCount() * 16 + 8;
        itemWidth = 6;
        columnWidth = 12;
        digits_.assign(size_t(n), 0);
        SetActive(true);
        return;
    }
    if (!active_) {
        if (closeWithoutKey_ || NewlyPressed(TMultiInput::kDecision) || NewlyPressed(TMultiInput::kCancel)) Close();
        return;
    }
    if (digitCount <= 0) {
        if (NewlyPressed(TMultiInput::kDecision)) {
            if (innCheck && cursor_ == 0 && GamePartyInfo && GamePartyInfo->gold < innPrice) {
                PlaySystemSound(kSystemSoundBuzzer);
                return;
            }
            PlaySystemSound(kSystemSoundDecision);
            Finish(cursor_);
        } else if (NewlyPressed(TMultiInput::kCancel) && cancelChoice != 0) {
            PlaySystemSound(kSystemSoundCancel);
            Finish(cancelChoice - 1);
        }
        return;
    }
    if (cursor_ >= 0 && cursor_ < int(digits_.size()) && GameInput) {
        int32_t& d = digits_[size_t(cursor_)];
        if (GameInput->IsRepeated(TMultiInput::kUp)) {
            d = (d + 1) % 10;
            PlaySystemSound(kSystemSoundCursor);
        } else if (GameInput->IsRepeated(TMultiInput::kDown)) {
            d = (d + 9) % 10;
            PlaySystemSound(kSystemSoundCursor);
        }
    }
    if (NewlyPressed(TMultiInput::kDecision)) {
        PlaySystemSound(kSystemSoundDecision);
        if (GameSystem) GameSystem->SetVariable(numberVariable, int32_t(NumberValue()));
        Close();
    }
}

void TLcfMessageWindow::Finish(int answer) {
    // Choices confirmed without a place for the answer are a script fault:
    // the box closes and nothing is written.
    if (resultTarget.IsSet()) resultTarget.Write(uint8_t(answer));
    if (innCheck) {
        innPending_ = true;
        innAnswer_ = answer;
    }
    Close();
}

void TLcfMessageWindow::Draw() {
    if (active_ && digitCount > 0 && TLcfWindow::IsVisible()) {
        int32_t y = LineCount() * 16 + 8;
        for (size_t i = 0; i < digits_.size(); ++i) {
            TRect r = RectOfSize(leftMargin + 12 * int32_t(i), y, 12, 16);
            items_->FillRect(r, 0);
            window_->Draw(r.Left, r.Top, *clean_, r);
        }
        DrawCursorCell(cursor_, true);
        for (size_t i = 0; i < digits_.size(); ++i)
            TLcfWindow::DrawText(leftMargin + 12 * int32_t(i), y, std::string(1, char('0' + digits_[i])), 0);
    }
    TLcfWindow::Draw();
    if (TLcfWindow::IsVisible() && IsOpen() && GameDraw) {
        if (FaceShown()) {
            TSorvoSheet& face = *GameSystem->FaceSheet();
            GameDraw->Board().Draw(x_ + (FaceLeft() ? 16 : 256), y_ + 16, face, face.GetBoundsRect());
        }
        bool allShown = AllShown();
        if (!active_ && digitCount <= 0 && (frameCounter_ / 20) % 2 == 0 && !closeWithoutKey_ &&
            (waitForKey_ || allShown) && GameSystemGraphic)
            GameSystemGraphic->DrawDownArrow(x_ + width_ / 2 - 8, y_ + height_ - 8);
    }
    gold_.Draw();
}

std::string TLcfMessagePool::PopFirst() {
    if (lines_.empty()) return {};
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}
