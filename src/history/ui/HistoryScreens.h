#pragma once

// Registers the run history screen and the order line's history dialog.
void registerHistoryScreens();
