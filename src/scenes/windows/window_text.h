#pragma once
// Small text helpers the menu windows share: a term of the vocabulary by
// chunk, a number through a printf format, and the experience line.

#include <cstdint>
#include <string>

class TLcfgPlayerItem;

// The term of that chunk, empty without a vocabulary.
std::string MenuTerm(int chunk);
// One integer through a printf format ("%4d", "/%4d", ...).
std::string FormatNumber(const char* format, int32_t value);
// "current/next" as "%7d/%7d", or "-------/-------" at the highest level.
std::string ExperienceText(const TLcfgPlayerItem& actor);
// The party slot of an actor, -1 outside the party.
int PartySlotOf(int32_t actorId);
// The member `step` places after that actor, wrapping round the party (from
// the first member when the actor is not in it). The party must not be empty.
int32_t NeighbourMemberId(int32_t actorId, int step);
