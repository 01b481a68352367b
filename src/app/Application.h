#pragma once

// The program's entry: application object, translation, the three top-level
// windows and the event loop.
int RunApplication(int argc, char* argv[]);
