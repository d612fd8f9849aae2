#pragma once

// Registers the screens of this subsystem with the ScreenRegistry under their form names.
void registerMasterScreens();
