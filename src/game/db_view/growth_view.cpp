#include "game/db_view/growth_view.h"

#include <algorithm>

#include "data/byte_reader.h"
#include "data/database/database.h"
#include "data/record/var_int.h"
#include "game/db_view/record_view.h"

namespace {

// One learning entry of the skill list (chunk 1 level, chunk 2 skill).
class LearningRecord : public TCatalogBaseItem {
public:
    void DescribeField(int id, TCatalogVarData& d, bool) override {
        if (id == 1) d.SetInteger(&entry.level, 1);
        else if (id == 2) d.SetInteger(&entry.skillId, 1);
    }
    void Clear() override { entry = TLcfgLearning(); }
    TLcfgLearning entry;
};

// A list form: count, then per item its id and its record.
std::vector<TLcfgLearning> ParseLearning(const std::vector<uint8_t>& bytes) {
    std::vector<TLcfgLearning> out;
    if (bytes.empty()) return out;
    try {
        ByteReader r(bytes);
        int32_t count = ReadVarInt(r);
        for (int32_t i = 0; i < count && !r.AtEnd(); ++i) {
            ReadVarInt(r);  // the entry's id
            LearningRecord rec;
            rec.LoadFromStream(r);
            out.push_back(rec.entry);
        }
    } catch (const EReadError&) {
        // A damaged list keeps the entries read so far.
    }
    return out;
}

}  // namespace

void TLcfgGrowthView::DescribeField(int id, TCatalogVarData& d, bool) {
    if (conditionRanks.Describe(id, 71, d) || attributeRanks.Describe(id, 73, d)) return;
    switch (id) {
    case 1: d.SetString(&name, true); break;
    case 2: d.SetString(&title, true); break;
    case 3: d.SetString(&sprite, true); break;
    case 4: d.SetInteger(&spriteIndex, 0); break;
    case 5: d.SetBoolean(&transparent, 0); break;
    case 7: d.SetInteger(&initialLevel, 1); break;
    case 8: d.SetInteger(&finalLevel, 99); break;
    case 9: d.SetBoolean(&criticalHits, 1); break;
    case 10: d.SetInteger(&criticalRate, 30); break;
    case 15: d.SetString(&face, true); break;
    case 16: d.SetInteger(&faceIndex, 0); break;
    case 21: d.SetBoolean(&twoWeapons, 0); break;
    case 22: d.SetBoolean(&lockEquipment, 0); break;
    case 23: d.SetBoolean(&autoBattle, 0); break;
    case 24: d.SetBoolean(&strongDefense, 0); break;
    case 31: d.SetFixed(curves.data(), kCurveBytes); break;
    case 41: d.SetInteger(&expBase, 300); break;
    case 42: d.SetInteger(&expInflation, 300); break;
    case 43: d.SetInteger(&expCorrection, 0); break;
    case 51: d.SetFixed(initialEquipment.data(), 10); break;
    case 56: d.SetInteger(&unarmedAnimation, 1); break;
    case 57: d.SetInteger(&jobClass, 0); break;
    case 62: d.SetInteger(&battlerAnimation, 1); break;
    case 63: d.SetBlock(&skillBytes_); break;
    case 80: d.SetFixed(commands.data(), 28); break;
    default: break;
    }
}

void TLcfgGrowthView::Clear() {
    name.clear();
    title.clear();
    sprite.clear();
    face.clear();
    spriteIndex = 0;
    transparent = 0;
    initialLevel = 1;
    finalLevel = 99;
    criticalHits = 1;
    criticalRate = 30;
    faceIndex = 0;
    twoWeapons = lockEquipment = autoBattle = strongDefense = 0;
    for (int k = 0; k < 6; ++k)
        for (int l = 0; l < kLevels; ++l) {
            size_t at = size_t(2 * (kLevels * k + l));
            curves[at] = k == 1 ? 0 : 1;
            curves[at + 1] = 0;
        }
    expBase = 300;
    expInflation = 300;
    expCorrection = 0;
    initialEquipment.fill(0);
    unarmedAnimation = 1;
    jobClass = 0;
    battlerAnimation = 1;
    skills.clear();
    skillBytes_.clear();
    conditionRanks.Reset();
    attributeRanks.Reset();
    commands.fill(0xFF);
    if (!isHero_) commands[24] = commands[25] = commands[26] = commands[27] = 0;
}

void TLcfgGrowthView::LoadFromStream(ByteReader& r) {
    TCatalogBaseItem::LoadFromStream(r);
    skills = ParseLearning(skillBytes_);
    skillBytes_.clear();
}

int32_t TLcfgGrowthView::Parameter(int kind, int level) const {
    if (kind < 0 || kind > 5 || level < 1 || level > kLevels) return 0;
    size_t at = size_t(2 * (kLevels * kind + level - 1));
    return int32_t(curves[at] | (curves[at + 1] << 8));
}

int32_t TLcfgGrowthView::RawBattleCommand(int slot) const {
    if (slot < 0 || slot > 6) return -1;
    size_t at = size_t(slot) * 4;
    return int32_t(uint32_t(commands[at]) | (uint32_t(commands[at + 1]) << 8) | (uint32_t(commands[at + 2]) << 16) |
                   (uint32_t(commands[at + 3]) << 24));
}

int32_t TLcfgGrowthView::BattleCommand(int slot) const { return slot < 0 || slot > 5 ? -1 : RawBattleCommand(slot); }

int32_t TLcfgGrowthView::InitialEquipment(int slot) const {
    if (slot < 0 || slot > 4) return 0;
    return int32_t(initialEquipment[size_t(slot) * 2] | (initialEquipment[size_t(slot) * 2 + 1] << 8));
}

void TLcfgGrowthView::SetInitialEquipment(int slot, int32_t item) {
    if (slot < 0 || slot > 4) return;
    initialEquipment[size_t(slot) * 2] = uint8_t(item);
    initialEquipment[size_t(slot) * 2 + 1] = uint8_t(item >> 8);
}

const TLcfgGrowthView& HeroView(int32_t heroId) {
    static TLcfgViewCache<TLcfgGrowthView> cache;
    VARNOW_CHECK(DbPlayer != nullptr);
    return cache.Get(*DbPlayer->FindPlayer(heroId), [] { return std::make_unique<TLcfgGrowthView>(true); });
}

const TLcfgGrowthView& ClassView(int32_t classId) {
    static TLcfgViewCache<TLcfgGrowthView> cache;
    VARNOW_CHECK(DbJob != nullptr);
    return cache.Get(*DbJob->FindJob(classId), [] { return std::make_unique<TLcfgGrowthView>(false); });
}

bool HeroExists(int32_t heroId) { return DbPlayer && DbPlayer->Find(heroId) != nullptr; }

int HeroCount() { return DbPlayer ? DbPlayer->Count() : 0; }
