#pragma once
// The script command that opens the shop: it fills the scene's parameters,
// closes the message box at once and switches the scene.

// Gives the interpreter its handler for OpenShop.
void RegisterShopCommand();
