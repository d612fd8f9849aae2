#pragma once

// Registers the run history screen.
void registerHistoryScreens();
