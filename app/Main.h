// SPDX-License-Identifier: GPL-3.0-or-later
// Wirbelbox: the start-up sequence.
#pragma once

// Ends the process at once if an earlier instance runs; otherwise fills the environment values,
// keeps the command line and shows the game window, then returns to the event loop.
void Main();
