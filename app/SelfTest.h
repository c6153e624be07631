#pragma once

class Application;

// Loads every screen offscreen and shows each state once; the number of QML warnings and load errors
// (0 when every screen is clean).
int runSelfTest(Application& application);
