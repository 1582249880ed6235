#pragma once
// The stand-ins still in the program, each replaced by a later piece:
//
// - Battle turns: TLcfBattleScene::ExecuteAction does the plain attack (an
//   actor's hand attack, an enemy's attack) and an actor's escape roll,
//   consumes the action and ends the battler's turn (the gauge fills
//   again). Skills, items, defence effects, row changes and the battle
//   messages of actions come with the battle actions.
// - Troop battle event pages: the battle runs a page already started but
//   does not look for newly triggered ones.
