#pragma once
// The script commands that open the shop and the name entry: they fill the
// scene's parameters, close the message box at once and switch the scene.

// Gives the interpreter its handlers for OpenShop and InputName.
void RegisterShopAndNameCommands();
