#include "maps.h"

#include <algorithm>

#include "art.h"
#include "data/byte_writer.h"
#include "data/map/map.h"
#include "data/map/map_tree.h"
#include "content_ids.h"
#include "database.h"
#include "music.h"
#include "script.h"
#include "sounds.h"
#include "tiles.h"

namespace mkdemo {

int AutotileShape(int bits) {
    const int c = bits & 15, e = (bits >> 4) & 15;
    switch (e) {
        case 0: return c;
        case 1: return 16 + (c & 6) / 2;
        case 2: return 20 + (c & 12) / 4;
        case 3: return 34 + (c & 4) / 4;
        case 4: return 24 + (c & 1) * 2 + (c & 8) / 8;
        case 5: return 32;
        case 6: return 36 + (c & 8) / 8;
        case 7: return 42;
        case 8: return 28 + (c & 3);
        case 9: return 40 + (c & 2) / 2;
        case 10: return 33;
        case 11: return 43;
        case 12: return 38 + (c & 1);
        case 13: return 44;
        case 14: return 45;
        default: return 46;
    }
}

namespace {

// Lower chip index of a tile id (0..2 water, 3..5 animated, 6..17 terrain,
// 18.. plain), -1 for none.
int ChipOf(int tile) {
    if (tile < 0) return -1;
    if (tile < 3000) return tile / 1000;
    if (tile < 4000) return (tile - 3000) / 50 + 3;
    if (tile < 5000) return (tile - 4000) / 50 + 6;
    return tile - 4982;
}

// A map under construction: two layers of tile ids with painting helpers.
class Canvas {
public:
    Canvas(int w, int h, int ground) : w_(w), h_(h), lower_(static_cast<size_t>(w * h), static_cast<int16_t>(ground)),
                                       upper_(static_cast<size_t>(w * h), static_cast<int16_t>(UpperTile(0))) {}

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    int Lower(int x, int y) const { return Inside(x, y) ? lower_[Index(x, y)] : -1; }
    int Upper(int x, int y) const { return Inside(x, y) ? upper_[Index(x, y)] : -1; }
    void SetLower(int x, int y, int tile) {
        if (Inside(x, y)) lower_[Index(x, y)] = static_cast<int16_t>(tile);
    }
    void SetUpper(int x, int y, int tile) {
        if (Inside(x, y)) upper_[Index(x, y)] = static_cast<int16_t>(tile);
    }
    void FillLower(int x, int y, int w, int h, int tile) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) SetLower(i, j, tile);
    }
    void FillUpper(int x, int y, int w, int h, int tile) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) SetUpper(i, j, tile);
    }
    // An ellipse of lower tiles.
    void Blob(double cx, double cy, double rx, double ry, int tile) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
                if (nx * nx + ny * ny <= 1.0) SetLower(x, y, tile);
            }
    }

    // Gives every water and terrain autotile the shape its neighbours ask
    // for, as the editor would have stored it.
    void ResolveAutotiles() {
        std::vector<int16_t> out = lower_;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const int tile = lower_[Index(x, y)];
                const int chip = ChipOf(tile);
                if (chip < 0 || chip > 17 || (chip >= 3 && chip <= 5)) continue;
                static const int kDx[8] = {-1, 1, 1, -1, -1, 0, 1, 0};
                static const int kDy[8] = {-1, -1, 1, 1, 0, -1, 0, 1};
                static const int kBit[8] = {1, 2, 4, 8, 16, 32, 64, 128};  // UL UR DR DL L U R D
                int bits = 0;
                int chips[8];
                for (int n = 0; n < 8; ++n) {
                    chips[n] = ChipOf(Lower(x + kDx[n], y + kDy[n]));
                    const int h = chips[n];
                    // Cells outside the map, the same kind, and any two
                    // kinds of water count as joined.
                    const bool same = h == -1 || h == chip || (h < 6 && chip < 6);
                    if (!same) bits |= kBit[n];
                }
                int id;
                const int shape = AutotileShape(bits);
                if (chip >= 6) {
                    id = 4000 + 50 * (chip - 6) + shape;
                } else {
                    // Water next to water of the other depth takes edge
                    // quarters in the corners where both sides meet it.
                    auto counts = [&](int n) {
                        const int h = chips[n];
                        if (chip == 2) return h < 2;
                        if (n >= 4) return h == 2;                 // edges
                        return (bits & kBit[n]) == 0;              // corners
                    };
                    // Neighbour order: 0 UL, 1 UR, 2 DR, 3 DL, 4 L, 5 U, 6 R, 7 D.
                    int c = 0;
                    if (counts(0) && counts(5) && counts(4)) c |= 1;
                    if (counts(1) && counts(5) && counts(6)) c |= 2;
                    if (counts(3) && counts(7) && counts(4)) c |= 4;
                    if (counts(2) && counts(7) && counts(6)) c |= 8;
                    id = chip * 1000 + c * 50 + shape;
                }
                out[Index(x, y)] = static_cast<int16_t>(id);
            }
        lower_ = std::move(out);
    }

    // A tree: trunk here (blocks), crown on the cell above (drawn over
    // whoever walks behind it).
    void Tree(int x, int y) {
        SetUpper(x, y, UpperTile(outdoor::upper::kTreeTrunk));
        if (Upper(x, y - 1) == UpperTile(0)) SetUpper(x, y - 1, UpperTile(outdoor::upper::kTreeTop));
    }

    // A house: two rows of roof over a wall row with a doorway.
    void House(int x, int y, int w, int door) {
        using namespace outdoor::lower;
        for (int i = 0; i < w; ++i) {
            const int part = i == 0 ? 0 : (i == w - 1 ? 2 : 1);
            SetLower(x + i, y, LowerTile(kRoofLeft + part));
            SetLower(x + i, y + 1, LowerTile(kRoofEaveLeft + part));
            SetLower(x + i, y + 2, LowerTile(i == door ? kDoorway : (i % 2 ? kWoodWallWindow : kWoodWall)));
        }
    }

    void Into(MapDesign& map) {
        map.width = w_;
        map.height = h_;
        map.lower = lower_;
        map.upper = upper_;
    }

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y * w_ + x); }
    int w_, h_;
    std::vector<int16_t> lower_, upper_;
};

// --- events ---------------------------------------------------------------

struct EventBuilder {
    TLcfEvent& events;

    TLcfEventItem& Add(const char* name, int x, int y) {
        TLcfEventItem* event = events.Add();
        event->name = name;
        event->x = x;
        event->y = y;
        event->pages.Clear();
        return *event;
    }
};

TLcfEventPageItem& Page(TLcfEventItem& event, const char* sheet = "", int index = 0, int direction = 2) {
    TLcfEventPageItem* page = event.pages.Add();
    page->sheetName = sheet;
    page->sheetIndex = index;
    page->direction = static_cast<uint8_t>(direction);
    page->layer = 1;  // level with the party: it blocks and can be talked to
    return *page;
}

TLcfEventPageItem& Touch(TLcfEventPageItem& page) {
    page.trigger = 1;  // the party walks onto it
    page.layer = 0;
    return page;
}

void WhenSwitch(TLcfEventPageItem& page, int id) {
    page.condition.flags |= TLcfEventCondition::kSwitchA;
    page.condition.switchA = id;
}

// A last page with no picture and no script once switch `id` is on: the
// event is gone (a recruit who joined, a beaten guardian).
void GoneWhen(TLcfEventItem& event, int id) {
    TLcfEventPageItem& gone = Page(event);
    gone.layer = 0;
    WhenSwitch(gone, id);
}

// A patrol: left three steps, right three steps, again and again.
void Patrol(TLcfEventPageItem& page) {
    page.moveType = 6;
    page.moveFrequency = 2;
    page.moveRoute.Clear();
    for (int code : {3, 3, 3, 1, 1, 1}) {
        TLcfMoveRouteItem step;
        step.code = code;
        page.moveRoute.Add(step);
    }
    page.moveRoute.repeat = 1;
    page.moveRoute.skippable = 1;
}

// --- Varrow, the town ----------------------------------------------------

void BuildTown(MapDesign& map) {
    using namespace outdoor;
    map.id = map_id::kVarrow;
    map.name = "Varrow";
    map.chip_set = 1;
    map.music_mode = 2;
    map.music = music::kTown;
    map.backdrop_mode = 2;
    map.backdrop = art::kStreet;
    map.teleport = 1;
    map.escape = 1;
    map.save = 1;

    Canvas c(30, 22, TerrainTile(autotile::kGrass));
    // Woods all round, open at the bottom middle where the road leaves.
    for (int x = 0; x < 30; ++x) {
        c.Tree(x, 1);
        if (x < 13 || x > 16) c.Tree(x, 21);
    }
    for (int y = 2; y < 21; ++y) {
        c.Tree(0, y + (y % 2));
        c.Tree(29, y + ((y + 1) % 2));
    }
    // Roads and the plaza.
    c.FillLower(14, 10, 2, 12, TerrainTile(autotile::kRoad));
    c.FillLower(3, 10, 24, 2, TerrainTile(autotile::kRoad));
    c.FillLower(11, 6, 8, 5, TerrainTile(autotile::kPlaza));
    c.FillLower(6, 6, 1, 4, TerrainTile(autotile::kRoad));
    c.FillLower(23, 6, 1, 4, TerrainTile(autotile::kRoad));
    c.FillLower(6, 16, 1, 2, TerrainTile(autotile::kRoad));
    c.FillLower(23, 16, 1, 2, TerrainTile(autotile::kRoad));
    // Houses: the inn (top left), the market (top right), the elder's
    // (bottom left) and a cottage (bottom right).
    c.House(4, 3, 5, 2);
    c.House(21, 3, 5, 2);
    c.House(4, 13, 5, 2);
    c.House(21, 13, 5, 2);
    // A pond with flowers, the well, fences and lamps.
    c.Blob(25.5, 19.0, 3.2, 1.8, WaterTile(0));
    c.FillLower(2, 17, 4, 2, LowerTile(lower::kFlowers));
    c.SetLower(18, 15, LowerTile(lower::kWell));
    for (int x = 8; x < 13; ++x) c.SetUpper(x, 18, UpperTile(upper::kFenceH));
    for (int x : {11, 18}) c.SetUpper(x, 5, UpperTile(upper::kLampPost));
    c.SetUpper(10, 9, UpperTile(upper::kBarrel));
    c.SetUpper(19, 9, UpperTile(upper::kCrate));
    c.SetUpper(20, 9, UpperTile(upper::kPot));
    c.SetUpper(16, 17, UpperTile(upper::kBush));
    c.SetUpper(12, 14, UpperTile(upper::kHay));
    c.SetUpper(13, 19, UpperTile(upper::kSignpost));
    // A boggy patch east of the start: its swamp terrain stings the feet.
    c.FillLower(16, 18, 2, 1, TerrainTile(autotile::kSwamp));
    c.ResolveAutotiles();
    c.Into(map);

    map.events = std::make_unique<TLcfEvent>();
    EventBuilder b{*map.events};

    // 1: the start of the game: wakes the welcome and the clock once.
    {
        TLcfEventItem& e = b.Add("Start", 1, 2);
        TLcfEventPageItem& first = Page(e);
        first.trigger = 3;  // autorun
        first.layer = 0;
        Script(first.script).Switch(sw::kIntroDone, true).Switch(sw::kClockRunning, true).Switch(sw::kWelcome, true);
        TLcfEventPageItem& done = Page(e);
        done.layer = 0;
        WhenSwitch(done, sw::kIntroDone);
    }
    // 2: the elder, with a choice and a tinted memory of the lit lantern.
    {
        TLcfEventItem& e = b.Add("Elder", 8, 16);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 0);
        Script s(p.script);
        s.Face(art::kTownsfolk, 0).Say({"Elder: Ah, young ones. You have", "seen the lantern on the plaza?"});
        s.Line(kChoices, "", {2});
        s.Case(kChoiceCase, "Why did it go dark?", {0}, [&] {
            s.Line(kTintScreen, "", {120, 90, 60, 100, 20, 1});
            s.Say({"Elder: Its flame came from the crystal", "deep in Hollow Cave. Something there",
                   "has swallowed the light."});
            s.Line(kTintScreen, "", {100, 100, 100, 100, 20, 1});
            s.Switch(sw::kMetElder, true);
        });
        s.Case(kChoiceCase, "Goodbye.", {1}, [&] { s.Say({"Elder: Mind the wolves on the road."}); });
        s.Line(kChoicesEnd);
        s.NoFace();
    }
    // 3: the market: a shop at the counter.
    {
        TLcfEventItem& e = b.Add("Merchant", 23, 7);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 1);
        Script s(p.script);
        s.Face(art::kTownsfolk, 1).Say({"Merchant: Potions, blades and armour!"});
        s.Line(kShop, "", {0, 0, 0, 0, item::kPotion, item::kHiPotion, item::kEther, item::kAntidote,
                          item::kPhoenixFeather, item::kWingOfReturn, item::kBronzeSword, item::kIronSword,
                          item::kGreatAxe, item::kOakStaff, item::kWoodenShield, item::kLeatherVest,
                          item::kLeatherCap, item::kLuckyCharm});
        s.Case(kShopDeal, "", {}, [&] { s.Say({"Merchant: Pleasure doing business!"}); });
        s.Case(kShopNoDeal, "", {}, [&] { s.Say({"Merchant: Come back any time."}); });
        s.Line(kShopEnd);
        s.NoFace();
    }
    // 4: the innkeeper outside the inn.
    {
        TLcfEventItem& e = b.Add("Innkeeper", 7, 7);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 2);
        Script s(p.script);
        s.Face(art::kTownsfolk, 2);
        s.Line(kInn, "", {0, 10});
        s.Case(kInnStay, "", {}, [&] { s.Say({"Innkeeper: Good morning! Sleep well?"}); });
        s.Case(kInnLeave, "", {}, [&] { s.Say({"Innkeeper: The door is always open."}); });
        s.Line(kInnEnd);
        s.NoFace();
    }
    // 5: a child running about.
    {
        TLcfEventItem& e = b.Add("Child", 16, 13);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 3);
        p.moveType = 1;
        p.moveFrequency = 4;
        p.moveSpeed = 4;
        // Tag: 20 seconds on the clock to catch him again.
        Script(p.script)
            .Face(art::kTownsfolk, 3 + 4)
            .Say({"Tag! You're it! Catch me before", "the clock runs out!"})
            .NoFace()
            .Line(kTimer, "", {0, 0, 20, 0, 0, 0})  // timer 1 := 20 seconds
            .Line(kTimer, "", {1, 0, 0, 1, 0, 0})   // start it, shown
            .Switch(sw::kPlayingTag, true);
        TLcfEventPageItem& tag = Page(e, art::kTownsfolk, 3);
        WhenSwitch(tag, sw::kPlayingTag);
        tag.moveType = 1;
        tag.moveFrequency = 6;
        tag.moveSpeed = 4;
        // The clock stops first, so it cannot run out while he talks; the
        // switch goes last, as it ends this page.
        Script(tag.script)
            .Line(kTimer, "", {2, 0, 0, 0, 0, 0})
            .Face(art::kTownsfolk, 3 + 4)
            .Say({"Aww, you got me! Here, take my", "lucky bell."})
            .NoFace()
            .GainItem(item::kWakeBell, 1)
            .Switch(sw::kPlayingTag, false);
    }
    // 6: the guard walking his beat by the gate, out of the road's way; he
    // hops to attention when spoken to.
    {
        TLcfEventItem& e = b.Add("Guard", 20, 20);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 4);
        Patrol(p);
        Script(p.script)
            .Route(kThisEvent, {21, 24, 25})  // face the party, jump in place
            .Line(kWaitMoves)
            .Face(art::kTownsfolk, 4)
            .Say({"Guard: Monsters roam the Green Reach.", "Rest at the inn before you go."})
            .NoFace();
    }
    // 7: the scholar's number game.
    {
        TLcfEventItem& e = b.Add("Scholar", 20, 11);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 6, 3);
        Script s(p.script);
        s.Face(art::kTownsfolk, 6).Say({"Scholar: Guess my number, 1 to 99!"});
        s.Line(kInputNumber, "", {2, var::kChosenNumber});
        s.Case(kBranch, "", {1, var::kChosenNumber, 0, 42, 0}, [&] {
            s.Say({"Scholar: 42! Remarkable. Take this."});
            s.Line(kItems, "", {0, 0, item::kEther, 0, 1});
            s.Sound(sound::kItem);
        });
        s.Case(kElse, "", {}, [&] { s.Say({"Scholar: No, no. Think deeper."}); });
        s.Line(kBranchEnd);
        s.NoFace();
    }
    // 8: the naming stone.
    {
        TLcfEventItem& e = b.Add("Naming stone", 12, 8);
        TLcfEventPageItem& p = Page(e, art::kObjects, 6);
        Script s(p.script);
        s.Say({"An old statue. Carved at its foot:", "\"Speak thy name, bearer of light.\""});
        s.Line(kInputName, "", {hero::kAren, 0, 1});
    }
    // 9: the save crystal.
    {
        TLcfEventItem& e = b.Add("Save crystal", 17, 8);
        TLcfEventPageItem& p = Page(e, art::kObjects, 2);
        p.animationType = 1;  // keeps glowing while standing
        Script(p.script).Sound(sound::kSave).Say({"The crystal hums softly."}).Line(kSaveMenu);
    }
    // 10: the inn's door.
    {
        TLcfEventItem& e = b.Add("Inn door", 6, 5);
        Script(Touch(Page(e)).script).Sound(sound::kDoor).Transfer(map_id::kInn, 9, 12);
    }
    // 11: the notice board shows a map of the region.
    {
        TLcfEventItem& e = b.Add("Notice board", 13, 19);
        TLcfEventPageItem& p = Page(e);
        Script s(p.script);
        s.Line(kShowPicture, art::kMap, {1, 0, 160, 100, 0, 100, 0, 1, 100, 100, 100, 100, 0, 0});
        s.Say({"A map of the Green Reach. Hollow Cave", "lies past the forest, north-east."});
        s.Line(kErasePicture, "", {1});
    }
    // 12: the great lantern: dark, then lit once the quest is done.
    {
        TLcfEventItem& e = b.Add("Great lantern", 15, 8);
        TLcfEventPageItem& dark = Page(e, art::kObjects, 6, 0);
        Script(dark.script).Say({"The great lantern. Cold and dark."});
        TLcfEventPageItem& lit = Page(e, art::kObjects, 5);
        lit.animationType = 1;
        WhenSwitch(lit, sw::kLanternLit);
        Script s(lit.script);
        s.Line(kTintScreen, "", {130, 110, 80, 100, 10, 1});
        s.Say({"The lantern burns bright again.", "Varrow is safe. Thank you for playing!"});
        s.Line(kTintScreen, "", {100, 100, 100, 100, 10, 1});
    }
    // 13: a chest behind the elder's house.
    {
        TLcfEventItem& e = b.Add("Chest", 3, 16);
        TLcfEventPageItem& shut = Page(e, art::kObjects, 1, 0);
        Script(shut.script).Sound(sound::kChime).GainItem(item::kPotion, 2).GainGold(30)
            .Say({"Found 2 Potions and 30 gold!"}).Switch(sw::kChestOpened, true);
        TLcfEventPageItem& open = Page(e, art::kObjects, 1, 2);
        WhenSwitch(open, sw::kChestOpened);
        Script(open.script).Say({"The chest is empty."});
    }
    // 14: Borin, who joins the party.
    {
        TLcfEventItem& e = b.Add("Borin", 19, 16);
        TLcfEventPageItem& p = Page(e, art::kHeroes, 2);
        Script s(p.script);
        s.Face(art::kHeroes, 2).Say({"Borin: Off to the cave? Not without", "my axe, you aren't."});
        s.Line(kPartyMembers, "", {0, 0, hero::kBorin});
        s.NoFace().Sound(sound::kDecision).Say({"Borin joined the party!"}).Switch(sw::kBorinJoined, true);
        GoneWhen(e, sw::kBorinJoined);
    }
    // 15: Tam the lamplighter, a few steps from where the game begins: a
    // question with two answers, each remembered.
    {
        TLcfEventItem& e = b.Add("Tam", 12, 16);
        TLcfEventPageItem& ask = Page(e, art::kTownsfolk, 5, 1);
        Script s(ask.script);
        s.Face(art::kTownsfolk, 5).Say({"Tam: Ho there, Aren! I tend the great", "lantern, and last night it died."});
        s.Say({"Tam: Will you find out why?"});
        s.Line(kChoices, "", {2});
        s.Case(kChoiceCase, "We'll light it again!", {0}, [&] {
            s.SetVariable(var::kChoice, 1).Switch(sw::kPromisedTam, true).GainGold(50).Sound(sound::kChime);
            s.Say({"Tam: Bless you! Here, 50 gold for", "the road. The cave lies north-east."});
        });
        s.Case(kChoiceCase, "Not our business.", {1}, [&] {
            s.SetVariable(var::kChoice, 2);
            s.Say({"Tam: Then Varrow stays dark..."});
        });
        s.Line(kChoicesEnd);
        s.NoFace();
        TLcfEventPageItem& promised = Page(e, art::kTownsfolk, 5, 1);
        WhenSwitch(promised, sw::kPromisedTam);
        Script(promised.script).Face(art::kTownsfolk, 5)
            .Say({"Tam: Hollow Cave, past the forest.", "Mind the road south of town."})
            .NoFace();
    }
    // 16: the well: a coin for a wish, while the purse holds one.
    {
        TLcfEventItem& e = b.Add("Well", 18, 15);
        TLcfEventPageItem& p = Page(e);
        Script s(p.script);
        s.Case(kBranch, "", {3, 1, 0}, [&] {  // gold >= 1
            s.Line(kGold, "", {1, 0, 1}).Sound(sound::kChime);
            s.Line(kVariables, "", {0, var::kWish, var::kWish, 0, 3, 1, 3});  // 1..3 at random
            s.Case(kBranch, "", {1, var::kWish, 0, 3, 0}, [&] {
                s.Say({"The coin glints far below.", "Something glints back!"}).GainItem(item::kEther, 1);
            });
            s.Case(kElse, "", {}, [&] { s.Say({"The coin splashes. You make a wish."}); });
            s.Line(kBranchEnd);
        });
        s.Case(kElse, "", {}, [&] { s.Say({"A deep well. A coin might buy a wish."}); });
        s.Line(kBranchEnd);
    }
    // 17, 18: the road out of town.
    for (int x : {14, 15}) {
        TLcfEventItem& e = b.Add("To the Green Reach", x, 21);
        Script(Touch(Page(e)).script).Transfer(map_id::kGreenReach, 12, 20);
    }
    // 19: the game of tag's referee: when the clock runs out first, the
    // child wins.
    {
        TLcfEventItem& e = b.Add("Tag clock", 0, 0);
        TLcfEventPageItem& idle = Page(e);
        idle.layer = 0;
        TLcfEventPageItem& p = Page(e);
        p.layer = 0;
        p.trigger = 4;  // parallel
        WhenSwitch(p, sw::kPlayingTag);
        Script s(p.script);
        // Turning the switch off ends this parallel page at once, so it
        // comes after the message.
        s.Case(kBranch, "", {2, 0, 1}, [&] {  // timer 1 at 0 seconds or less
            s.Line(kTimer, "", {2, 0, 0, 0, 0, 0});
            s.Face(art::kTownsfolk, 3 + 4).Say({"Child: Too slow! Hee hee!"}).NoFace();
            s.Switch(sw::kPlayingTag, false);
        });
        s.Line(kBranchEnd);
    }
    // 20: a traveller's satchel past the bog, once: a potion for the
    // stings and a better sword.
    {
        TLcfEventItem& e = b.Add("Satchel", 18, 18);
        TLcfEventPageItem& p = Page(e, art::kObjects, 1, 0);
        Script(p.script)
            .Sound(sound::kChime)
            .GainItem(item::kPotion, 1)
            .GainItem(item::kIronSword, 1)
            .Say({"Found a Potion and an Iron Sword!"})
            .Switch(sw::kSatchelTaken, true);
        GoneWhen(e, sw::kSatchelTaken);
    }
}

// --- the inn inside ------------------------------------------------------

void BuildInn(MapDesign& map) {
    using namespace interior;
    map.id = map_id::kInn;
    map.name = "Lantern Inn";
    map.parent = map_id::kVarrow;
    map.chip_set = 2;
    map.music_mode = 0;  // the town's music goes on

    Canvas c(20, 15, LowerTile(lower::kDarkness));
    c.FillLower(2, 2, 16, 1, LowerTile(lower::kInnerWallTop));
    c.FillLower(2, 3, 16, 2, LowerTile(lower::kInnerWall));
    c.FillLower(2, 5, 16, 8, TerrainTile(autotile::kWoodFloor));
    c.FillLower(8, 6, 4, 6, TerrainTile(autotile::kCarpet));
    c.SetLower(9, 13, LowerTile(lower::kDoorway));
    c.SetLower(10, 13, LowerTile(lower::kDoorway));
    c.SetLower(4, 4, LowerTile(lower::kFireplace));
    for (int x = 12; x < 17; ++x) c.SetUpper(x, 7, UpperTile(upper::kCounterTop));
    for (int x : {3, 6}) {
        c.SetUpper(x, 9, UpperTile(upper::kBedTop));
        c.SetUpper(x, 10, UpperTile(upper::kBedBottom));
    }
    c.SetUpper(16, 5, UpperTile(upper::kShelf));
    c.SetUpper(2, 5, UpperTile(upper::kPlant));
    c.SetUpper(17, 11, UpperTile(upper::kBarrel));
    c.SetUpper(13, 10, UpperTile(upper::kTable));
    c.SetUpper(12, 10, UpperTile(upper::kChair));
    c.SetUpper(3, 3, UpperTile(upper::kWindowSill));
    c.SetUpper(14, 3, UpperTile(upper::kWindowSill));
    c.ResolveAutotiles();
    c.Into(map);

    map.events = std::make_unique<TLcfEvent>();
    EventBuilder b{*map.events};
    {
        // Behind the counter: talked to across it.
        TLcfEventItem& e = b.Add("Innkeeper", 14, 6);
        TLcfEventPageItem& p = Page(e, art::kTownsfolk, 2);
        Script s(p.script);
        s.Face(art::kTownsfolk, 2);
        s.Line(kInn, "", {1, 0});
        s.Case(kInnStay, "", {}, [&] { s.Say({"Innkeeper: On the house tonight."}); });
        s.Case(kInnLeave, "", {}, [] {});
        s.Line(kInnEnd);
        s.NoFace();
    }
    {
        TLcfEventItem& e = b.Add("Hearth", 4, 5);
        TLcfEventPageItem& p = Page(e);
        p.layer = 0;
        Script(p.script).Say({"The hearth crackles warmly."}).Line(kCallEvent, "", {0, 3});
    }
    {
        // Mira waits by the window until the party has met the elder.
        TLcfEventItem& e = b.Add("Mira", 7, 6);
        TLcfEventPageItem& before = Page(e, art::kHeroes, 3);
        Script(before.script).Face(art::kHeroes, 3).Say({"Mira: You look like you're off on", "an errand. Ask the elder first."})
            .NoFace();
        TLcfEventPageItem& join = Page(e, art::kHeroes, 3);
        WhenSwitch(join, sw::kMetElder);
        Script(join.script).Face(art::kHeroes, 3 + 4).Say({"Mira: The cave? I'll patch you up", "on the way."})
            .Line(kPartyMembers, "", {0, 0, hero::kMira}).NoFace().Say({"Mira joined the party!"})
            .Switch(sw::kMiraJoined, true);
        GoneWhen(e, sw::kMiraJoined);
    }
    for (int x : {9, 10}) {
        TLcfEventItem& e = b.Add("Door", x, 13);
        Script(Touch(Page(e)).script).Sound(sound::kDoor).Transfer(map_id::kVarrow, 6, 6);
    }
}

// --- the Green Reach: an island in the sky -------------------------------

void BuildField(MapDesign& map) {
    using namespace outdoor;
    map.id = map_id::kGreenReach;
    map.name = "Green Reach";
    map.chip_set = 1;
    map.music_mode = 2;
    map.music = music::kField;
    // Battles take the terrain's backdrop, so that the grass fights before
    // its two layers; a backdrop of the map's own would replace them.
    map.backdrop_mode = 1;
    map.teleport = 1;
    map.escape = 1;
    map.save = 2;
    map.encounters = {troop::kSlimes, troop::kBatAndSlime, troop::kGoblins};
    map.encounter_steps = 25;
    // The sky drifts past beyond the cliffs.
    map.panorama = true;
    map.panorama_name = art::kSky;
    map.panorama_loop_x = true;
    map.panorama_loop_y = true;
    map.panorama_scroll_x = true;
    map.panorama_speed_x = 2;

    const int w = 48, h = 36;
    Canvas c(w, h, LowerTile(lower::kSky));
    // The island: grass inside an uneven rim, cliffs below its south edge.
    c.Blob(24, 17, 21.5, 15, TerrainTile(autotile::kGrass));
    for (int x = 0; x < w; ++x)
        for (int y = 1; y < h; ++y)
            if (ChipOf(c.Lower(x, y)) == 6 + autotile::kGrass && c.Lower(x, y + 1) == LowerTile(lower::kSky)) {
                c.SetLower(x, y + 1, LowerTile(lower::kCliff));
                break;
            }
    // A lake with a deep middle, where the boat and the ship wait.
    c.Blob(33, 22, 8, 5.5, WaterTile(1));
    c.Blob(33.5, 22, 4, 2.6, WaterTile(2));
    // Mountains in the north-east with the cave mouth; the forest of
    // Whisperwood in the west; hills and a road from the town gate.
    c.Blob(33, 7, 8, 3.5, TerrainTile(autotile::kMountain));
    c.SetLower(33, 10, LowerTile(lower::kCaveMouth));
    c.SetLower(33, 11, TerrainTile(autotile::kRoad));
    c.Blob(9, 11, 5, 4.5, TerrainTile(autotile::kForest));
    c.Blob(20, 27, 5, 3, TerrainTile(autotile::kHills));
    c.Blob(40, 14, 3, 2, TerrainTile(autotile::kSwamp));
    c.FillLower(12, 20, 9, 1, TerrainTile(autotile::kRoad));
    c.FillLower(20, 12, 1, 9, TerrainTile(autotile::kRoad));
    c.FillLower(20, 12, 14, 1, TerrainTile(autotile::kRoad));
    c.FillLower(33, 11, 1, 2, TerrainTile(autotile::kRoad));
    c.Blob(24, 30, 3, 1.2, TerrainTile(autotile::kMeadow));
    // The town itself seen from outside: a small house.
    c.House(11, 17, 4, 1);
    const int trees[][2] = {{22, 7}, {19, 9}, {42, 17}, {38, 28}, {8, 24}, {28, 30}};
    for (const auto& t : trees) c.Tree(t[0], t[1]);
    const int rocks[][2] = {{18, 22}, {44, 20}, {6, 19}};
    for (const auto& r : rocks) c.SetUpper(r[0], r[1], UpperTile(upper::kRock));
    c.ResolveAutotiles();
    c.Into(map);

    map.events = std::make_unique<TLcfEvent>();
    EventBuilder b{*map.events};
    {
        TLcfEventItem& e = b.Add("Varrow gate", 12, 19);
        Script(Touch(Page(e)).script).Transfer(map_id::kVarrow, 14, 20);
    }
    {
        TLcfEventItem& e = b.Add("Cave mouth", 33, 10);
        Script s(Touch(Page(e)).script);
        s.Sound(sound::kDoor).Transfer(map_id::kHollowCave, 3, 4);
    }
    {
        // A wanderer who teaches about vehicles.
        TLcfEventItem& e = b.Add("Ferryman", 24, 21);
        TLcfEventPageItem& p = Page(e, art::kHeroes, 5, 1);
        // He brings the boat back to his jetty wherever it was left.
        Script(p.script).Face(art::kHeroes, 9).Say({"Ferryman: Take my boat across the lake.", "Face it and press the key to board."})
            .NoFace()
            .Line(kVehicleLocation, "", {0, 0, map_id::kGreenReach, 25, 22, 4});
    }
}

// --- Hollow Cave: made anew by the random map generator ------------------

void BuildCave(MapDesign& map) {
    using namespace interior;
    map.id = map_id::kHollowCave;
    map.name = "Hollow Cave";
    map.parent = map_id::kGreenReach;
    map.chip_set = 2;
    map.music_mode = 2;
    map.music = music::kDungeon;
    map.backdrop_mode = 2;
    map.backdrop = art::kCave;
    map.teleport = 2;
    map.escape = 1;
    map.save = 2;
    map.encounters = {troop::kBones, troop::kSwampThings};
    map.encounter_steps = 20;

    map.generate = true;
    map.generator_layout = 1;  // caves of rooms
    map.room_width = 5;
    map.room_height = 3;
    map.generator_tiles = {
        static_cast<uint16_t>(TerrainTile(autotile::kRock)),  static_cast<uint16_t>(LowerTile(lower::kCaveWall)),
        static_cast<uint16_t>(LowerTile(lower::kCaveWallTop)), static_cast<uint16_t>(LowerTile(lower::kCaveFloor)),
        static_cast<uint16_t>(LowerTile(lower::kCaveFloorPebbles)),
        static_cast<uint16_t>(LowerTile(lower::kCaveFloorCrack)),
        static_cast<uint16_t>(UpperTile(upper::kBoulderTL)),   static_cast<uint16_t>(UpperTile(upper::kBoulderTR)),
        static_cast<uint16_t>(UpperTile(upper::kBoulderBL)),   static_cast<uint16_t>(UpperTile(upper::kBoulderBR)),
        static_cast<uint16_t>(UpperTile(upper::kCrystalTL)),   static_cast<uint16_t>(UpperTile(upper::kCrystalTR)),
        static_cast<uint16_t>(UpperTile(upper::kCrystalBL)),   static_cast<uint16_t>(UpperTile(upper::kCrystalBR)),
        static_cast<uint16_t>(UpperTile(upper::kPillarTL)),    static_cast<uint16_t>(UpperTile(upper::kPillarTR)),
        static_cast<uint16_t>(UpperTile(upper::kPillarBL)),    static_cast<uint16_t>(UpperTile(upper::kPillarBR)),
    };
    // The stored layers are plain rock and floor; the generator replaces
    // them at every entry.
    Canvas c(40, 30, TerrainTile(autotile::kRock));
    c.Into(map);

    map.events = std::make_unique<TLcfEvent>();
    EventBuilder b{*map.events};
    {
        TLcfEventItem& e = b.Add("Way out", 3, 3);
        TLcfEventPageItem& p = Touch(Page(e));
        Script(p.script).Sound(sound::kDoor).Transfer(map_id::kGreenReach, 33, 11);
    }
    {
        TLcfEventItem& e = b.Add("Crystal chest", 20, 15);
        TLcfEventPageItem& shut = Page(e, art::kObjects, 1, 0);
        Script(shut.script).Sound(sound::kChime).Line(kItems, "", {0, 0, item::kLanternOil, 0, 1})
            .Say({"Found Lantern Oil!"}).Switch(sw::kShrineOpen, true);
        TLcfEventPageItem& open = Page(e, art::kObjects, 1, 2);
        WhenSwitch(open, sw::kShrineOpen);
    }
    {
        // The golem guarding the crystal: a battle the party must win.
        TLcfEventItem& e = b.Add("Golem", 34, 24);
        TLcfEventPageItem& p = Page(e, art::kObjects, 6);
        Script s(p.script);
        s.Say({"The stone guardian stirs..."});
        s.Line(kFlashScreen, "", {31, 31, 31, 20, 5, 1});
        s.Line(kBattle, art::kCave, {0, troop::kGolem, 1, 0, 1, 0, 0, 1, 0});
        s.Case(kVictoryCase, "", {}, [&] {
            s.Switch(sw::kBossBeaten, true).Switch(sw::kLanternLit, true);
            s.Say({"The crystal's light flows back toward", "Varrow. The lantern is lit!"});
        });
        s.Case(kDefeatCase, "", {}, [&] { s.Line(kGameOver); });
        s.Line(kBattleEnd);
        GoneWhen(e, sw::kBossBeaten);
    }
}

// --- Whisperwood: an area of the field with its own encounters ------------

void BuildArea(MapDesign& map) {
    map.id = map_id::kWhisperwood;
    map.name = "Whisperwood";
    map.parent = map_id::kGreenReach;
    map.area = true;
    map.area_rect = {4, 6, 15, 16};
    map.encounters = {troop::kGoblins, troop::kSwampThings};
    map.encounter_steps = 15;
}

}  // namespace

WorldDesign BuildWorld() {
    WorldDesign world;
    world.maps.resize(5);
    BuildTown(world.maps[0]);
    BuildInn(world.maps[1]);
    BuildField(world.maps[2]);
    BuildCave(world.maps[3]);
    BuildArea(world.maps[4]);
    world.tree_order = {map_id::kVarrow, map_id::kInn, map_id::kGreenReach, map_id::kWhisperwood,
                        map_id::kHollowCave};
    world.party = {map_id::kVarrow, 14, 18};
    world.boat = {map_id::kGreenReach, 25, 22};
    world.ship = {map_id::kGreenReach, 34, 22};
    world.airship = {map_id::kGreenReach, 16, 24};
    return world;
}

void WriteMaps(OutputFolder& out) {
    WorldDesign world = BuildWorld();

    TLcfMapTree tree;
    for (MapDesign& design : world.maps) {
        TLcfMapTreeItem* entry = tree.GetOrCreate(design.id);
        entry->name = design.name;
        entry->parentId = design.parent;
        entry->kind = design.area ? TLcfMapTreeItem::kKindArea : 0;
        entry->area = design.area_rect;
        entry->musicKind = design.music_mode;
        if (!design.music.empty()) entry->music.name = design.music;
        entry->backdropKind = design.backdrop_mode;
        entry->backdropName = design.backdrop;
        entry->teleport = design.teleport;
        entry->escape = design.escape;
        entry->save = design.save;
        entry->encounters.Clear();
        for (int troop : design.encounters) entry->encounters.Add()->troopId = troop;
        entry->encounterSteps = design.encounter_steps;
        if (design.area) continue;  // an area has no map file of its own

        TLcfMap map(design.id);
        map.chipSetId = design.chip_set;
        map.width = design.width;
        map.height = design.height;
        map.scrollType = design.scroll;
        map.usePanorama = design.panorama;
        map.panoramaName = design.panorama_name;
        map.panoramaLoopHorizontal = design.panorama_loop_x;
        map.panoramaLoopVertical = design.panorama_loop_y;
        map.panoramaAutoScrollHorizontal = design.panorama_scroll_x;
        map.panoramaSpeedHorizontal = design.panorama_speed_x;
        map.panoramaAutoScrollVertical = design.panorama_scroll_y;
        map.panoramaSpeedVertical = design.panorama_speed_y;
        map.generateAtEntry = design.generate;
        map.generatorLayout = design.generator_layout;
        map.roomWidth = design.room_width;
        map.roomHeight = design.room_height;
        map.wallOffBorder = design.wall_border;
        map.twoHighWalls = design.walls_two_high;
        map.floorVariantA = design.floor_a;
        map.floorVariantB = design.floor_b;
        map.objectsSecondKind = design.objects_2;
        map.objectsThirdKind = design.objects_3;
        for (size_t i = 0; i < design.generator_tiles.size(); ++i) {
            map.generatorBlock[2 * i] = static_cast<uint8_t>(design.generator_tiles[i]);
            map.generatorBlock[2 * i + 1] = static_cast<uint8_t>(design.generator_tiles[i] >> 8);
        }
        map.Lower().Resize(design.width, design.height);
        map.Upper().Resize(design.width, design.height);
        std::copy(design.lower.begin(), design.lower.end(), map.Lower().Cells());
        std::copy(design.upper.begin(), design.upper.end(), map.Upper().Cells());
        map.events.Assign(*design.events);
        const std::string name = MapFileName(design.id);
        map.SaveToFile((out.root() / name).string());
        out.Adopt(name);
    }
    for (int id : world.tree_order) tree.AppendToOrder(tree.FindMap(id));
    tree.activeMapId = world.party.map;
    const StartPosition* starts[4] = {&world.party, &world.boat, &world.ship, &world.airship};
    for (int kind = 0; kind < TLcfMapStartPosition::kKinds; ++kind) {
        tree.startPosition.positions[kind][0] = starts[kind]->map;
        tree.startPosition.positions[kind][1] = starts[kind]->x;
        tree.startPosition.positions[kind][2] = starts[kind]->y;
    }
    ByteWriter bytes;
    tree.SaveTree(bytes);
    out.Write(kMapTreeFileName, bytes.Take());
}

}  // namespace mkdemo
