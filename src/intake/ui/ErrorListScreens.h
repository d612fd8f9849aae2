#pragma once

// Registers the error list, the re-check screen and the two plate check lists.
void registerErrorListScreens();
