#pragma once
// The script command that opens the name entry: it fills the scene's
// parameters, closes the message box at once and switches the scene.

// Gives the interpreter its handler for InputName.
void RegisterNameCommand();
