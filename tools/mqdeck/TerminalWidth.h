#pragma once

// The width in columns of the terminal standard output goes to: COLUMNS when it
// is set, else what the terminal (or the Windows console) says, else 80.
int terminalWidth();
