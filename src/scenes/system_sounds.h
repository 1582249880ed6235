#pragma once
// The database's system sounds, played by role (cursor, decision, ...).
// The scenes and windows play them through here.

enum TSystemSoundRole { kSystemSoundCursor = 0, kSystemSoundDecision = 1, kSystemSoundCancel = 2, kSystemSoundBuzzer = 3 };

void PlaySystemSound(int role);
// The title music (the database's).
void PlayTitleMusic();
