// The screen table: every screen of the desk, under the form name and command words of
// Menu1.txt that open it (the desk, the screenshot tool and the screen tests fill the
// ScreenRegistry from it). Each factory builds its screen with the registry's Session.
#pragma once

void registerAllScreens();
