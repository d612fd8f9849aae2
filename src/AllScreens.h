// Every screen of the desk, registered under its form name (the desk and the screenshot tool).
#pragma once

void registerAllScreens();
