#pragma once

// Runs the program's window: opens the setup files named on the command
// line once the window is up; returns the exit status.
int RunGui(int argc, char** argv);
